#include "grid/window/GridWindow.h"

#include "Harbinax/ClippedTextTip.h"
#include "grid/window/GridComboList.h"
#include "grid/window/GridDcPainter.h"
#include "grid/window/GridInPlaceEdit.h"
#include "grid/window/GridPrintout.h"
#include "grid/window/GridWindowPort.h"

#include <wx/clipbrd.h>
#include <wx/dcbuffer.h>
#include <wx/settings.h>

CGridWindow::CGridWindow(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, int rows, int cols,
                         int fixedRows, int fixedCols)
    : CGridCtrl(rows, cols, fixedRows, fixedCols), m_port(std::make_unique<CGridWindowPort>(*this)), m_timer(this)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Create(parent, id, pos, size, wxWANTS_CHARS | wxVSCROLL | wxHSCROLL | wxBORDER_THEME);
    TakeSystemColours();
    SetPort(m_port.get());
    SetTextMeasurer(m_port.get());

    Bind(wxEVT_PAINT, &CGridWindow::HandlePaint, this);
    Bind(wxEVT_SIZE, &CGridWindow::HandleSize, this);
    Bind(wxEVT_KEY_DOWN, &CGridWindow::HandleKeyDown, this);
    Bind(wxEVT_CHAR, &CGridWindow::HandleChar, this);
    for (const wxEventTypeTag<wxMouseEvent>& type :
         {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_UP, wxEVT_MOTION})
        Bind(type, &CGridWindow::HandleMouse, this);
    Bind(wxEVT_MOUSEWHEEL, &CGridWindow::HandleWheel, this);
    Bind(wxEVT_LEAVE_WINDOW, &CGridWindow::HandleLeave, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CGridWindow::HandleCaptureLost, this);
    for (const wxEventTypeTag<wxScrollWinEvent>& type :
         {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN,
          wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_THUMBTRACK,
          wxEVT_SCROLLWIN_THUMBRELEASE})
        Bind(type, &CGridWindow::HandleScroll, this);
    Bind(wxEVT_TIMER, &CGridWindow::HandleTimer, this);
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CGridWindow::HandleSysColours, this);
    for (const int id : {wxID_COPY, wxID_CUT, wxID_PASTE, wxID_SELECTALL}) {
        Bind(wxEVT_MENU, &CGridWindow::HandleEditCommand, this, id);
        Bind(wxEVT_UPDATE_UI, &CGridWindow::HandleEditCommandState, this, id);
    }
    UpdateScrollBars();
}

CGridWindow::~CGridWindow()
{
    // The core and the editor must not reach a window that is half gone.
    if (m_editor)
        m_editor->Detach();
    for (IGridEditor* editor : m_retired)
        editor->Detach();
    m_timer.Stop();
    SetPort(nullptr);
    SetTextMeasurer(nullptr);
    // Text copied from the grid stays on the clipboard after the program has ended.
    if (m_putOnClipboard && wxTheClipboard->Open()) {
        wxTheClipboard->Flush();
        wxTheClipboard->Close();
    }
}

bool CGridWindow::SetFont(const wxFont& font)
{
    if (!wxWindow::SetFont(font))
        return false;
    // Size 0: the window's own, so that the font is made again exactly as given.
    CGridFont described;
    described.face = font.GetFaceName().ToStdString(wxConvUTF8);
    described.weight = font.GetNumericWeight();
    described.italic = font.GetStyle() != wxFONTSTYLE_NORMAL;
    SetDefaultFont(described);
    return true;
}

void CGridWindow::HandleEditCommand(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case wxID_COPY:
        OnEditCopy();
        break;
    case wxID_CUT:
        OnEditCut();
        break;
    case wxID_PASTE:
        OnEditPaste();
        break;
    default:
        OnEditSelectAll();
        break;
    }
}

void CGridWindow::HandleEditCommandState(wxUpdateUIEvent& event)
{
    switch (event.GetId()) {
    case wxID_COPY:
        event.Enable(CanEditCopy());
        break;
    case wxID_CUT:
        event.Enable(CanEditCut());
        break;
    case wxID_PASTE:
        event.Enable(CanEditPaste());
        break;
    default:
        event.Enable(CanEditSelectAll());
        break;
    }
}

CGridInPlaceEdit* CGridWindow::GetInPlaceEdit() const
{
    return dynamic_cast<CGridInPlaceEdit*>(m_editor);
}

CGridComboList* CGridWindow::GetComboList() const
{
    return dynamic_cast<CGridComboList*>(m_editor);
}

void CGridWindow::TakeSystemColours()
{
    CGridSystemColours colours;
    colours.windowText = CGridDcPainter::FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    colours.window = CGridDcPainter::FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
    colours.face3D = CGridDcPainter::FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_3DFACE));
    colours.shadow = CGridDcPainter::FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_3DSHADOW));
    SetSystemColours(colours);
}

void CGridWindow::HandleSysColours(wxSysColourChangedEvent& event)
{
    TakeSystemColours();
    Refresh();
    event.Skip();
}

void CGridWindow::PaintTo(wxDC& dc, const wxRect& area)
{
    CGridDcPainter painter(dc, GetFont(), m_images, area);
    OnDraw(painter);
    // The divider being dragged, last so that it lies over the cells.
    const MouseMode mode = GetMouseMode();
    if (mode == MouseSizingColumn || mode == MouseSizingRow) {
        const wxSize client = GetClientSize();
        const CGridPoint at = GetLastMousePoint();
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT)));
        if (mode == MouseSizingColumn)
            dc.DrawRectangle(at.x, 0, 2, client.y);
        else
            dc.DrawRectangle(0, at.y, client.x, 2);
    }
}

void CGridWindow::HandlePaint(wxPaintEvent&)
{
    wxRect area = GetUpdateRegion().GetBox();
    if (area.IsEmpty())
        area = wxRect(GetClientSize());
    if (GetDoubleBuffering()) {
        wxBufferedPaintDC dc(this);
        PaintTo(dc, area);
    } else {
        wxPaintDC dc(this);
        PaintTo(dc, area);
    }
}

void CGridWindow::HandleSize(wxSizeEvent& event)
{
    event.Skip();
    // Showing or hiding a scroll bar resizes the client area again; layouts repeat sizes that
    // did not change.
    if (m_inSize || GetSize() == m_lastSize)
        return;
    m_lastSize = GetSize();
    m_inSize = true;
    EndCellEdit();
    UpdateScrollBars();
    Refresh();
    m_inSize = false;
}

namespace {
int GridKeyFromWx(int code)
{
    static const struct {
        int wxKey;
        int gridKey;
    } keys[] = {
        {WXK_TAB, GridKeyTab},        {WXK_PAGEUP, GridKeyPageUp},     {WXK_PAGEDOWN, GridKeyPageDown},
        {WXK_END, GridKeyEnd},        {WXK_HOME, GridKeyHome},         {WXK_LEFT, GridKeyLeft},
        {WXK_UP, GridKeyUp},          {WXK_RIGHT, GridKeyRight},       {WXK_DOWN, GridKeyDown},
        {WXK_INSERT, GridKeyInsert},  {WXK_DELETE, GridKeyDelete},     {WXK_F2, GridKeyF2},
        {WXK_SPACE, GridKeySpace},    {WXK_NUMPAD_DELETE, GridKeyDelete},
    };
    for (const auto& key : keys)
        if (key.wxKey == code)
            return key.gridKey;
    if (code >= 'a' && code <= 'z')
        return code - 'a' + 'A';
    return code >= 'A' && code <= 'Z' ? code : 0;
}
} // namespace

void CGridWindow::HandleKeyDown(wxKeyEvent& event)
{
    // A key takes the title tip away; the key itself is the grid's as ever.
    m_port->HideTitleTip();
    const int key = GridKeyFromWx(event.GetKeyCode());
    if (key == GridKeyTab && !GetHandleTabKey()) {
        Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
        return;
    }
    if (key == 0 || !OnKeyDown(key, event.ShiftDown(), event.ControlDown()))
        event.Skip();
}

void CGridWindow::HandleChar(wxKeyEvent& event)
{
    const wxChar ch = event.GetUnicodeKey();
    // Enter and Backspace start an edit too; other control characters do not.
    if (ch == WXK_NONE || (ch < 32 && ch != WXK_RETURN && ch != WXK_BACK)) {
        event.Skip();
        return;
    }
    OnChar(static_cast<unsigned>(ch), event.ControlDown());
}

void CGridWindow::HandleMouse(wxMouseEvent& event)
{
    const CGridPoint point{event.GetX(), event.GetY()};
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_LEFT_DOWN) {
        SetFocus();
        OnLButtonDown(point, event.ShiftDown(), event.ControlDown());
    } else if (type == wxEVT_LEFT_UP) {
        OnLButtonUp(point);
    } else if (type == wxEVT_LEFT_DCLICK) {
        OnLButtonDblClk(point);
    } else if (type == wxEVT_RIGHT_UP) {
        OnRButtonUp(point);
    } else {
        OnMouseMove(point, event.LeftIsDown());
    }
    static const wxStockCursor shapes[] = {wxCURSOR_ARROW, wxCURSOR_IBEAM, wxCURSOR_HAND, wxCURSOR_SIZEWE,
                                           wxCURSOR_SIZENS};
    const GridCursor cursor = GetCursorAt(point);
    SetCursor(cursor == GridCursorArrow ? wxNullCursor : wxCursor(shapes[cursor]));
    event.Skip();
}

void CGridWindow::HandleWheel(wxMouseEvent& event)
{
    if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL || event.GetWheelDelta() <= 0)
        return;
    OnMouseWheel(event.GetWheelRotation() * kWheelUnit / event.GetWheelDelta());
}

void CGridWindow::HandleLeave(wxMouseEvent& event)
{
    // Over the grid the mouse moves decide on the title tip, and the pointer may rest on the tip
    // itself; anywhere else nothing would ever take the tip away again.
    event.Skip();
    const auto* from = static_cast<const wxWindow*>(event.GetEventObject());
    if (!m_tip || !m_tip->IsTipShown() || !from)
        return;
    const wxPoint pointer = from->ClientToScreen(event.GetPosition());
    if (!GetScreenRect().Contains(pointer) && !m_tip->GetScreenRect().Contains(pointer))
        m_port->HideTitleTip();
}

void CGridWindow::HandleCaptureLost(wxMouseCaptureLostEvent&)
{
    m_timer.Stop();
}

void CGridWindow::HandleScroll(wxScrollWinEvent& event)
{
    const int bar = event.GetOrientation() == wxHORIZONTAL ? SB_HORZ : SB_VERT;
    const wxEventType type = event.GetEventType();
    const int code = type == wxEVT_SCROLLWIN_TOP          ? SB_TOP
                     : type == wxEVT_SCROLLWIN_BOTTOM     ? SB_BOTTOM
                     : type == wxEVT_SCROLLWIN_LINEUP     ? SB_LINEUP
                     : type == wxEVT_SCROLLWIN_LINEDOWN   ? SB_LINEDOWN
                     : type == wxEVT_SCROLLWIN_PAGEUP     ? SB_PAGEUP
                     : type == wxEVT_SCROLLWIN_PAGEDOWN   ? SB_PAGEDOWN
                     : type == wxEVT_SCROLLWIN_THUMBTRACK ? SB_THUMBTRACK
                                                          : SB_THUMBPOSITION;
    OnScroll(bar, code, event.GetPosition());
}

void CGridWindow::HandleTimer(wxTimerEvent&)
{
    const wxPoint cursor = ScreenToClient(wxGetMousePosition());
    OnAutoScrollTimer(CGridPoint{cursor.x, cursor.y});
}

void CGridWindow::EditorEnded(int row, int col, const std::string& text, int key)
{
    RetireEditor();
    if (key != 0)
        SetFocus();
    OnEditorEnded(row, col, text, key);
}

void CGridWindow::RetireEditor()
{
    if (!m_editor)
        return;
    m_retired.push_back(m_editor);
    m_editor = nullptr;
    // Deleted once the editor's own event handling has returned.
    CallAfter([this] {
        for (IGridEditor* editor : m_retired)
            editor->GetEditorWindow()->Destroy();
        m_retired.clear();
    });
}

bool CGridWindow::PrintGrid(wxPrintDialogData* data)
{
    EndCellEdit();
    wxPrinter printer(data);
    CGridPrintout printout(*this);
    return printer.Print(this, &printout, true);
}
