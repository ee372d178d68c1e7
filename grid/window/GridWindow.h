// The grid control as a window: the core's rows, columns, selection and editing on a wxWindow
// that paints them (fixed rows and columns stay while the rest scrolls, so the window scrolls
// nothing itself), keeps its scroll bars, and hands keys, mouse, wheel, timer and scroll events
// to the core. The owner hears of clicks, selection and edits through CGridNotifyEvent and of a
// finished left click through a posted wxEVT_BUTTON.
#pragma once

#include "grid/GridCtrl.h"

#include <wx/timer.h>
#include <wx/window.h>

#include <memory>
#include <vector>

class CClippedTextTip;
class CGridComboList;
class CGridInPlaceEdit;
class IGridEditor;
class CGridWindowPort;
class wxImageList;
class wxPrintDialogData;

class CGridWindow : public wxWindow, public CGridCtrl {
public:
    CGridWindow(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0);
    ~CGridWindow() override;

    // Not owned; images of the cells by index.
    void SetImageList(wxImageList* images) { m_images = images; }
    wxImageList* GetImageList() const { return m_images; }

    // Paints the area of the grid into dc as the window shows it.
    void PaintTo(wxDC& dc, const wxRect& area);

    // Prints the whole grid after the print dialog (data: the printer and settings to start
    // with, may be null); false when cancelled or failed.
    bool PrintGrid(wxPrintDialogData* data = nullptr);

    // The open in-place edit or combo box, or null.
    CGridInPlaceEdit* GetInPlaceEdit() const;
    CGridComboList* GetComboList() const;
    // The title tip (null until the first is shown).
    CClippedTextTip* GetTitleTip() const { return m_tip; }

    // The cells without a font of their own take the window's.
    bool SetFont(const wxFont& font) override;

private:
    friend class CGridWindowPort;

    void HandlePaint(wxPaintEvent& event);
    void HandleSize(wxSizeEvent& event);
    void HandleKeyDown(wxKeyEvent& event);
    void HandleChar(wxKeyEvent& event);
    void HandleMouse(wxMouseEvent& event);
    void HandleWheel(wxMouseEvent& event);
    void HandleLeave(wxMouseEvent& event);
    void HandleCaptureLost(wxMouseCaptureLostEvent& event);
    void HandleScroll(wxScrollWinEvent& event);
    void HandleTimer(wxTimerEvent& event);
    void HandleSysColours(wxSysColourChangedEvent& event);
    void HandleEditCommand(wxCommandEvent& event);
    void HandleEditCommandState(wxUpdateUIEvent& event);
    void TakeSystemColours();

    // The editor reported its end: it is put away and the core hears of it.
    void EditorEnded(int row, int col, const std::string& text, int key);
    void RetireEditor();

    std::unique_ptr<CGridWindowPort> m_port;
    wxImageList* m_images = nullptr;
    wxTimer m_timer;
    IGridEditor* m_editor = nullptr;
    // Editors that ended, deleted once their own event handling is over.
    std::vector<IGridEditor*> m_retired;
    CClippedTextTip* m_tip = nullptr;
    bool m_inSize = false;
    // The grid put text on the clipboard that is to outlive the program.
    bool m_putOnClipboard = false;
    wxSize m_lastSize;
    // Pixels of a wheel turn in 120ths of a notch, whatever the device reports.
    static constexpr int kWheelUnit = 120;
};
