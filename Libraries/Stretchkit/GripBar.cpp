#include "Stretchkit/GripBar.h"

#include "Stretchkit/LayoutConvert.h"
#include "StretchkitCore/TrackLimits.h"

#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/toplevel.h>

#include <algorithm>

CGripBar::CGripBar() = default;

CGripBar::~CGripBar()
{
    // wx keeps a stack of the windows that hold the mouse; one left on it crashes later.
    if (HasCapture())
        ReleaseMouse();
}

wxSize CGripBar::GripSize()
{
    // Some themes report no scroll-bar size; a grip still needs room for its ridges.
    const int width = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X);
    const int height = wxSystemSettings::GetMetric(wxSYS_HSCROLL_Y);
    return wxSize(width > 0 ? width : 16, height > 0 ? height : 16);
}

bool CGripBar::Create(wxWindow* parent)
{
    Hide();  // shown by the grip support once placed
    if (!wxWindow::Create(parent, wxID_ANY, wxDefaultPosition, GripSize(), wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE))
        return false;
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetCursor(wxCursor(wxCURSOR_SIZENWSE));
    Bind(wxEVT_PAINT, &CGripBar::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CGripBar::OnLeftDown, this);
    Bind(wxEVT_MOTION, &CGripBar::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CGripBar::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CGripBar::OnCaptureLost, this);
    return true;
}

void CGripBar::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    // Three pairs of diagonal ridges, dark below light, filling the lower-right triangle.
    const wxPen dark(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW));
    const wxPen light(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT));
    const int right = size.x;
    const int bottom = size.y;
    const int extent = std::min(size.x, size.y);
    for (int offset = 3; offset + 1 < extent; offset += 4) {
        dc.SetPen(light);
        dc.DrawLine(right - offset - 1, bottom, right, bottom - offset - 1);
        dc.SetPen(dark);
        dc.DrawLine(right - offset, bottom, right, bottom - offset);
        dc.DrawLine(right - offset + 1, bottom, right, bottom - offset + 1);
    }
}

void CGripBar::OnLeftDown(wxMouseEvent& event)
{
    wxWindow* window = wxGetTopLevelParent(this);
    if (!window)
        return;
    m_startSize = ToLayoutSize(window->GetSize());
    m_startMouse = ToLayoutPoint(ClientToScreen(event.GetPosition()));
    m_dragging = true;
    CaptureMouse();
}

void CGripBar::OnMotion(wxMouseEvent& event)
{
    wxWindow* window = wxGetTopLevelParent(this);
    if (!m_dragging || !window)
        return;
    SMinMaxInfo limits;
    limits.minTrackSize = ToLayoutSize(window->GetMinSize());
    limits.maxTrackSize = ToLayoutSize(window->GetMaxSize());
    const SLayoutPoint mouse = ToLayoutPoint(ClientToScreen(event.GetPosition()));
    window->SetSize(ToWxSize(GripDragSize(m_startSize, m_startMouse, mouse, limits)));
}

void CGripBar::OnLeftUp(wxMouseEvent&)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    if (HasCapture())
        ReleaseMouse();
}

void CGripBar::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    m_dragging = false;
}
