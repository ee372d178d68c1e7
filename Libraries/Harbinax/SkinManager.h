// The process-wide keeper of skins and of the windows that wear them. A skin is loaded under a
// name from a definition XML and its bitmap; a registered top-level window then gets its frame
// from the skin: caption, borders and caption buttons (close, maximise, minimise, restore, pin
// on top, roll up) drawn in the window itself, hit-tested here, with moves and resizes handed to
// the window manager. The window should be borderless; a CSkinFrame is, and places its content
// inside the skin's frame.
#pragma once

#include "HarbinaxCore/SkinFrameRules.h"

#include <wx/event.h>
#include <wx/gdicmn.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CLogger;
class CSkin;
class wxDC;
class wxTopLevelWindow;

class CSkinManager : public wxEvtHandler {
public:
    // Button states.
    enum { BUTTON_NORMAL = 0, BUTTON_HOVER = 1, BUTTON_PRESSED = 2 };

    // Created on first use.
    static CSkinManager* GetInstance();
    // The manager when there is one; never creates it.
    static CSkinManager* FindInstance();
    // Deletes the manager, which removes every skin and so unregisters every window. Nothing is
    // logged on the way.
    static void DestroyInstance();

    // Null: no log lines. The logger must outlive its use here.
    void SetLogger(CLogger* logger);

    // Loads the skin under the name: the XML file and the bitmap it names (relative to the XML
    // file's folder). Only a skin that loaded whole replaces one of the same name, and the
    // windows that wore the old one are unregistered then; on failure the old skin stays.
    bool LoadSkinFile(const std::string& name, const std::string& xmlPath);
    // The same from the program's resources: the XML as RCDATA, the bitmap as BITMAP or RCDATA
    // (a whole BMP file); a bitmap id of 0 fails.
    bool LoadSkinResource(const std::string& name, int xmlResource, int bitmapResource);
    // Unregisters the windows wearing the skin (every window for an empty name), then removes
    // the skin. The result says whether a skin of that name was there.
    bool RemoveSkin(const std::string& name);
    void RemoveAllSkins();

    // Registering again replaces the registration. False for a null window or an unknown skin.
    // The window grows by the skin's frame so its content keeps its size.
    bool RegisterWindow(wxTopLevelWindow* window, const std::string& skinName, bool pinButtons, bool rollUpButton);
    // False when the window is not registered.
    bool UnregisterWindow(wxTopLevelWindow* window);

    // --- What the frame shows ---------------------------------------------------------------
    const CSkin* FindSkin(const std::string& name) const;
    bool IsRegistered(const wxTopLevelWindow* window) const;
    // The window's state as the frame rules see it; false when it is not registered.
    bool GetFrameState(const wxTopLevelWindow* window, SSkinFrameState& state) const;
    // Where the window's content goes inside the frame, window coordinates; false when the
    // window is not registered.
    bool GetContentRect(const wxTopLevelWindow* window, wxRect& rect) const;
    // Hit-test code of the point (window coordinates); SKINHIT_NOWHERE when not registered.
    int HitTest(const wxTopLevelWindow* window, const wxPoint& point) const;
    int GetButtonState(const wxTopLevelWindow* window, int button) const;
    // The places of the menu bar's titles in the menu strip, window coordinates; none without a
    // menu bar (see CSkinFrame::SetMenuBar).
    std::vector<wxRect> GetMenuTitleRects(const wxTopLevelWindow* window) const;

private:
    struct SWindowRecord {
        std::string skinName;  // whole, however long
        const CSkin* skin = nullptr;
        bool active = true;
        bool pinButtons = false;
        bool pinned = false;
        bool rollUpButton = false;
        bool rolledUp = false;
        int heightBeforeRollUp = 0;
        int menuHeight = 0;
        int buttonStates[SKIN_BUTTON_COUNT] = {};
    };

    CSkinManager() = default;
    ~CSkinManager() override;

    // The skin with its bitmap under the name, when the bitmap is sound.
    bool Install(const std::string& name, const SSkinDefinition& definition, std::string_view bitmap,
                 const std::string& bitmapSource);
    bool Fail(const std::string& name, const std::string& error);
    bool Unregister(wxTopLevelWindow* window, bool windowGoing);
    SWindowRecord* Find(const wxTopLevelWindow* window);
    const SWindowRecord* Find(const wxTopLevelWindow* window) const;
    SSkinFrameState State(const wxTopLevelWindow* window, const SWindowRecord& record) const;

    void Paint(wxTopLevelWindow* window, const SWindowRecord& record, wxDC& dc) const;
    void UpdateShape(wxTopLevelWindow* window, const SWindowRecord& record);
    void UpdateSizeHints(wxTopLevelWindow* window, const SWindowRecord& record);
    void SetButtonStates(wxTopLevelWindow* window, SWindowRecord& record, const int (&states)[SKIN_BUTTON_COUNT]);
    void Press(wxTopLevelWindow* window, SWindowRecord& record, int button);
    void Unroll(wxTopLevelWindow* window, SWindowRecord& record);
    void OpenMenu(wxTopLevelWindow* window, const wxPoint& point);

    // The window's events: bound while it is registered, as its window procedure would be
    // replaced. hook(type, handler) for each, so binding and unbinding take the same list.
    template <typename Hook>
    static void ForEachHandler(Hook hook);
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnActivate(wxActivateEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnDestroy(wxWindowDestroyEvent& event);

    CLogger* m_logger = nullptr;
    std::map<std::string, std::unique_ptr<CSkin>> m_skins;
    std::map<const wxTopLevelWindow*, SWindowRecord> m_windows;
};
