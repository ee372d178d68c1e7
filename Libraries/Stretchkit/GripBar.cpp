#include "Stretchkit/GripBar.h"

#include "Stretchkit/LayoutConvert.h"
#include "StretchkitCore/TrackLimits.h"

#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

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
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CGripBar::OnSettingsChanged, this);
    if (IsMirrored())
        SetCursor(wxCursor(wxCURSOR_SIZENESW));
    return true;
}

void CGripBar::EnableTransparentPaint(bool on)
{
    m_transparent = on;
    Refresh();
}

void CGripBar::EnableTriangleRegion(bool on)
{
    m_triangular = on;
    Refresh();
}

bool CGripBar::IsMirrored() const
{
    const wxWindow* parent = GetParent();
    return parent && parent->GetLayoutDirection() == wxLayout_RightToLeft;
}

bool CGripBar::IsGripPoint(const wxPoint& point) const
{
    const wxSize size = GetClientSize();
    if (!wxRect(size).Contains(point))
        return false;
    if (!m_triangular)
        return true;
    // The triangle's right angle lies in the window's corner. A right-to-left window's client
    // coordinates and drawing are mirrored by wx, so that corner is the right one here as well.
    return static_cast<long long>(point.x) * size.y + static_cast<long long>(point.y) * size.x >=
           static_cast<long long>(size.x - 1) * size.y;
}

void CGripBar::OnSettingsChanged(wxSysColourChangedEvent& event)
{
    event.Skip();
    const wxRect old = GetRect();
    const wxSize size = GripSize();
    if (size == old.GetSize())
        return;
    // The outer corner stays; the grip grows or shrinks toward the window's inside.
    SetSize(old.GetRight() + 1 - size.x, old.GetBottom() + 1 - size.y, size.x, size.y);
    Refresh();
}

void CGripBar::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const wxSize size = GetClientSize();
    const wxColour parentColour = GetParent()->GetBackgroundColour();
    const wxColour face = m_transparent ? parentColour : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    dc.SetBackground(wxBrush(m_triangular ? parentColour : face));
    dc.Clear();
    if (m_triangular && face != parentColour) {
        const wxPoint triangle[] = {wxPoint(size.x, 0), wxPoint(size.x, size.y), wxPoint(0, size.y)};
        dc.SetBrush(wxBrush(face));
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.DrawPolygon(3, triangle);
    }
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
    if (!window || !IsGripPoint(event.GetPosition())) {
        event.Skip();
        return;
    }
    m_startSize = ToLayoutSize(window->GetSize());
    m_startPosition = ToLayoutPoint(window->GetPosition());
    m_startMouse = ToLayoutPoint(ClientToScreen(event.GetPosition()));
    m_dragging = true;
    CaptureMouse();
}

void CGripBar::OnMotion(wxMouseEvent& event)
{
    wxWindow* window = wxGetTopLevelParent(this);
    if (!m_dragging || !window) {
        // Outside a triangular grip the pointer is the parent's.
        const wxCursor sizing(IsMirrored() ? wxCURSOR_SIZENESW : wxCURSOR_SIZENWSE);
        SetCursor(IsGripPoint(event.GetPosition()) ? sizing : wxCursor(wxCURSOR_ARROW));
        return;
    }
    SMinMaxInfo limits;
    limits.minTrackSize = ToLayoutSize(window->GetMinSize());
    limits.maxTrackSize = ToLayoutSize(window->GetMaxSize());
    SLayoutPoint mouse = ToLayoutPoint(ClientToScreen(event.GetPosition()));
    if (!IsMirrored()) {
        window->SetSize(ToWxSize(GripDragSize(m_startSize, m_startMouse, mouse, limits)));
        return;
    }
    // The bottom-left corner follows the mouse: leftward widens, and the right edge stays. The
    // grip moves with the window, so the pointer is asked where it is rather than worked out
    // from an event measured against a grip that may have moved since.
    mouse = ToLayoutPoint(wxGetMousePosition());
    mouse.x = 2 * m_startMouse.x - mouse.x;
    const SLayoutSize size = GripDragSize(m_startSize, m_startMouse, mouse, limits);
    window->SetSize(m_startPosition.x + m_startSize.cx - size.cx, m_startPosition.y, size.cx, size.cy);
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
