// The base of every window that shows pages: the main window and each of its pages.
//
// A dialog owns a list of child pages (themselves cvBaseDialog objects) and shows exactly one at
// a time; a switch asks the page being left and the page being entered for consent and tells
// both what happens. It builds its toolbar from a list of button descriptors, lays out its
// children by percent anchors, shows a size grip when top-level, scrolls content larger than a
// page, and by default lets Enter move to the next control and never closes on Escape.
//
// The object is not a window itself: it creates one and then lives beside it, so that the same
// protocol serves a top-level frame (the main window, which needs a menu bar) and a child panel
// (a page). Pages are created hidden; ShowPage shows them. When the window is destroyed the
// object leaves its current page (OnDestroy) and forgets the window; when the object goes first,
// it destroys its window. The application owns the objects: pages outlive their owner's window.
#pragma once

#include "Harbinax/DialogControls.h"
#include "Harbinax/ToolBar.h"
#include "Harbinax/ToolBarButton.h"
#include "Stretchkit/AnchorLayout.h"
#include "Stretchkit/GripSupport.h"
#include "StretchkitCore/TrackLimits.h"

#include <wx/defs.h>
#include <wx/gdicmn.h>
#include <wx/string.h>
#include <wx/weakref.h>

#include <cstdint>
#include <string>
#include <vector>

class wxCommandEvent;
class wxFrame;
class wxKeyEvent;
class wxScrollWinEvent;
class wxSizeEvent;
class wxWindow;
class wxWindowDestroyEvent;

class cvBaseDialog : public CAnchorLayout {
public:
    // Scrolling applies to pages: their content scrolls when the panel is smaller than it.
    explicit cvBaseDialog(bool scrollable = false);
    ~cvBaseDialog() override;
    cvBaseDialog(const cvBaseDialog&) = delete;
    cvBaseDialog& operator=(const cvBaseDialog&) = delete;

    // A resizable top-level frame whose client area has the given size, which is also its
    // content size and smallest size; with a size grip. False when the window already exists,
    // cannot be created, or the dialog was made scrollable (frames do not scroll).
    bool CreateFrame(wxWindow* parent, const wxString& title, const wxSize& clientSize);
    // A hidden child panel at the rectangle, whose size is the content size. False when the
    // window already exists or cannot be created.
    bool CreatePage(wxWindow* parent, const wxRect& rect);
    // A hidden child panel at the parent's top-left with the controls and the size of the dialog
    // resource; factories create the controls of our own classes. False, with the reason in
    // *error (when given) and no window left, when the resource is missing or a control fails.
    bool CreatePage(wxWindow* parent, int dialogId, const DialogControlFactories& factories = {},
                    std::string* error = nullptr);

    // Keyboard rules. Escape is swallowed while blocked; otherwise it closes a top-level window
    // and goes on to the window around a page. Enter, where the focus does not take it itself,
    // becomes the replacement key while Enter-as-Tab is on: Tab moves to the next control (with
    // Shift to the previous one), Escape follows the rule above, any other key is handed to the
    // focus window's key handlers.
    void SetBlockEscape(bool on) { m_blockEscape = on; }
    bool GetBlockEscape() const { return m_blockEscape; }
    void SetEnterAsTab(bool on) { m_enterAsTab = on; }
    bool GetEnterAsTab() const { return m_enterAsTab; }
    void SetEnterReplacementKey(int keyCode) { m_enterReplacementKey = keyCode; }
    int GetEnterReplacementKey() const { return m_enterReplacementKey; }

    // Null before creation and after the window is destroyed.
    wxWindow* GetWindow() const { return m_window; }
    // The top-level frame; null for a page.
    wxFrame* GetFrame() const { return m_frame; }

    // The page protocol. OnEnterPage runs on the page that becomes current before it is shown,
    // OnLeavePage on the page that stops being current before it is hidden: the old page stores
    // its fields before the new one loads them. Their results are not examined.
    virtual bool OnEnterPage();
    virtual bool OnLeavePage();
    // May the page be entered or left? A refusing page returns false with a reason of its own.
    virtual bool CanEnterPage(int* reason);
    virtual bool CanLeavePage(int* reason);
    // Makes the page current (null: none). Showing the current page again does nothing and
    // succeeds. A refused switch keeps the current page, puts the toolbar checks back and calls
    // ShowPageRefusal with the reason; false.
    virtual bool ShowPage(cvBaseDialog* page);
    // Called on this dialog after a new page became current.
    virtual void OnPageChanged();
    // Called on this dialog when a page refused a switch.
    virtual void ShowPageRefusal(int reason);
    // Sizes and centres the window around a page area of cx x cy pixels below the shown top bar,
    // within the screen; pages fill that area and follow the window. On screens of 1024 x 768 or
    // less, or when the window does not fit, a top-level window is maximised.
    virtual void LayoutForPageSize(int cx, int cy);
    // Places a page whose window was made after LayoutForPageSize where the listed pages are;
    // it follows the window as they do.
    void AddPageToLayout(cvBaseDialog* page);
    // The content size that this dialog and its pages need, each dimension the largest; with
    // withToolBar also at least as wide as the shown toolbar's buttons.
    virtual wxSize GetMinimumSize(bool withToolBar) const;
    // (Re)builds the toolbar from the button list.
    virtual void CreateToolBar();
    // Leaves the current page (a refusal is reported, but no page is current afterwards), forgets
    // the anchors and removes the toolbar. Runs when the window is destroyed; an override does its
    // own clean-up and calls this.
    virtual void OnDestroy();

    // Lays the template's controls out again for their present texts, as a translation does (a
    // label set at run time gets the room it needs); the window keeps the size its owner gave it,
    // the content size becomes what the controls need, and anchored controls follow the window
    // from their new places.
    void FitControls();

    // Checks the button of the current page and unchecks the other pages' buttons.
    void UpdateToolBarChecks();

    cvBaseDialog* GetCurrentPage() const { return m_currentPage; }
    cvToolBar* GetToolBar() const { return m_topBar.get(); }
    const CGripSupport& GetGripSupport() const { return m_grip; }
    CGripSupport& GetGripSupport() { return m_grip; }
    wxPoint GetScrollPosition() const { return m_scroll; }

    // Filled by the application.
    std::vector<cvBaseDialog*> m_pages;      // not owned; null entries are skipped
    std::vector<cvToolBarButton> m_buttons;  // what CreateToolBar builds the toolbar from
    bool m_showTopBar = false;               // lay out and show the toolbar
    wxSize m_contentSize;                    // what the content needs, in pixels
    cvToolBarButton m_ownButton;             // this page's button in its owner's toolbar

protected:
    // The client rectangle; on a scrolled page the content's rectangle at its scrolled place.
    wxRect GetLayoutRect() const override;
    wxWindow* GetLayoutWindow() const override { return m_window; }

private:
    void Attach(wxWindow* window);
    void Detach();
    void ApplyTrackLimits();
    void AfterResize();
    // Scroll bars where the client is smaller than the content; elsewhere the position is 0.
    void UpdateScrollBars(const wxSize& client);
    // After a change of the client's size: the position pulled back so that the content still
    // fills the client where it can, then the scroll bars.
    void KeepScrollInView(const wxSize& client);
    void ScrollContentTo(const wxPoint& position);
    void DestroyToolBar();

    void OnWindowSize(wxSizeEvent& event);
    void OnWindowDestroy(wxWindowDestroyEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnCommand(wxCommandEvent& event);
    void OnScroll(wxScrollWinEvent& event);

    const bool m_scrollable;
    wxWindow* m_window = nullptr;
    wxFrame* m_frame = nullptr;
    CGripSupport m_grip;
    CTrackLimits m_trackLimits;
    std::uint32_t m_gripStatus = 1;  // bit 0: this dialog's own show request
    bool m_blockEscape = true;
    bool m_enterAsTab = true;
    int m_enterReplacementKey = WXK_TAB;
    wxPoint m_scroll;
    wxWeakRef<cvToolBar> m_topBar;
    cvBaseDialog* m_currentPage = nullptr;
};
