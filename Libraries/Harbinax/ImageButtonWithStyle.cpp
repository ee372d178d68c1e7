#include "Harbinax/ImageButtonWithStyle.h"

#include "Harbinax/VisualStyles.h"
#include "HarbinaxCore/ImagePlacement.h"

#include <wx/dcbuffer.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/toplevel.h>

namespace {

// Inset of the content of a classic button face: its frame and the focus rectangle's margin.
constexpr int kClassicContentMargin = 3;

EImageAlign HorizontalAlign(long style)
{
    if (style & wxBU_LEFT)
        return EImageAlign::Start;
    if (style & wxBU_RIGHT)
        return EImageAlign::End;
    return EImageAlign::Centre;
}

EImageAlign VerticalAlign(long style)
{
    if (style & wxBU_TOP)
        return EImageAlign::Start;
    if (style & wxBU_BOTTOM)
        return EImageAlign::End;
    return EImageAlign::Centre;
}

void Frame(wxDC& dc, const wxRect& rect, const wxColour& topLeft, const wxColour& bottomRight)
{
    dc.SetPen(wxPen(topLeft));
    dc.DrawLine(rect.GetLeft(), rect.GetBottom(), rect.GetLeft(), rect.GetTop());
    dc.DrawLine(rect.GetLeft(), rect.GetTop(), rect.GetRight(), rect.GetTop());
    dc.SetPen(wxPen(bottomRight));
    dc.DrawLine(rect.GetRight(), rect.GetTop(), rect.GetRight(), rect.GetBottom());
    dc.DrawLine(rect.GetRight(), rect.GetBottom(), rect.GetLeft() - 1, rect.GetBottom());
}

// The raised face with its two-pixel bevel; pressed, a flat shadowed frame. The default button
// has a dark line round it.
void DrawClassicFace(wxDC& dc, wxRect rect, bool pressed, bool isDefault)
{
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
    const wxColour dark = wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW);
    dc.SetBrush(wxBrush(face));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(rect);
    if (isDefault || pressed) {
        Frame(dc, rect, dark, dark);
        rect.Deflate(1);
    }
    if (pressed) {
        Frame(dc, rect, shadow, shadow);
        return;
    }
    Frame(dc, rect, wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT), dark);
    rect.Deflate(1);
    Frame(dc, rect, wxSystemSettings::GetColour(wxSYS_COLOUR_3DLIGHT), shadow);
}

}  // namespace

CImageButtonWithStyle::CImageButtonWithStyle(wxWindow* parent, wxWindowID id, const wxBitmap& image,
                                             const wxPoint& pos, const wxSize& size, long style)
    : wxControl(parent, id, pos, size, style | wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE), m_image(image)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetInitialSize(size);
    Bind(wxEVT_PAINT, &CImageButtonWithStyle::OnPaint, this);
    Bind(wxEVT_ENTER_WINDOW, &CImageButtonWithStyle::OnEnter, this);
    Bind(wxEVT_LEAVE_WINDOW, &CImageButtonWithStyle::OnLeave, this);
    Bind(wxEVT_LEFT_DOWN, &CImageButtonWithStyle::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CImageButtonWithStyle::OnLeftDown, this);
    Bind(wxEVT_MOTION, &CImageButtonWithStyle::OnMouseMove, this);
    Bind(wxEVT_LEFT_UP, &CImageButtonWithStyle::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CImageButtonWithStyle::OnCaptureLost, this);
    Bind(wxEVT_KEY_DOWN, &CImageButtonWithStyle::OnKeyDown, this);
    Bind(wxEVT_KEY_UP, &CImageButtonWithStyle::OnKeyUp, this);
    Bind(wxEVT_SET_FOCUS, &CImageButtonWithStyle::OnFocus, this);
    Bind(wxEVT_KILL_FOCUS, &CImageButtonWithStyle::OnFocus, this);
}

CImageButtonWithStyle::~CImageButtonWithStyle()
{
    // wx keeps a stack of the windows that hold the mouse; one left on it crashes later.
    if (HasCapture())
        ReleaseMouse();
}

void CImageButtonWithStyle::SetImage(const wxBitmap& image)
{
    m_image = image;
    InvalidateBestSize();
    Refresh();
}

bool CImageButtonWithStyle::IsDefault() const
{
    const wxTopLevelWindow* top = wxDynamicCast(wxGetTopLevelParent(const_cast<CImageButtonWithStyle*>(this)),
                                                wxTopLevelWindow);
    return top && top->GetDefaultItem() == this;
}

bool CImageButtonWithStyle::Enable(bool enable)
{
    if (!wxControl::Enable(enable))
        return false;
    if (!enable)
        EndPress();
    Refresh();
    return true;
}

wxSize CImageButtonWithStyle::DoGetBestClientSize() const
{
    // Room for the themed face's frame, one pixel wider than the classic one.
    const int margin = 2 * (kClassicContentMargin + 1);
    const wxSize image = m_image.IsOk() ? m_image.GetSize() : wxSize(16, 16);
    return image + wxSize(margin, margin);
}

void CImageButtonWithStyle::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    DrawButton(dc);
}

void CImageButtonWithStyle::DrawButton(wxDC& dc)
{
    const wxRect client = GetClientRect();
    const CVisualStyles& styles = CVisualStyles::Get();
    wxRect content;
    bool themed = false;
    if (styles.IsAppThemed() && styles.IsThemeActive()) {
        styles.DrawThemeParentBackground(this, dc, &client);
        const CVisualStyles::SThemeHandle theme = styles.OpenThemeData(this, "BUTTON");
        const int state = PushButtonState(!IsEnabled(), IsPressed(), m_hot, IsDefault());
        const CVisualStyles::Result drawn =
            styles.DrawThemeBackground(theme, dc, ThemePart::kPushButton, state, client);
        themed = CVisualStyles::Succeeded(drawn) &&
                 CVisualStyles::Succeeded(
                     styles.GetThemeBackgroundContentRect(theme, dc, ThemePart::kPushButton, state, client, &content));
        styles.CloseThemeData(theme);
    }
    if (!themed) {
        DrawClassicFace(dc, client, IsPressed(), IsDefault());
        content = client;
        content.Deflate(kClassicContentMargin);
    }
    if (m_image.IsOk()) {
        const wxBitmap image = IsEnabled() ? m_image : m_image.ConvertToDisabled();
        const long style = GetWindowStyleFlag();
        const int x = PlaceImage(content.x, content.width, image.GetWidth(), HorizontalAlign(style));
        const int y = PlaceImage(content.y, content.height, image.GetHeight(), VerticalAlign(style));
        dc.DrawBitmap(image, x, y, true);
    }
    if (HasFocus()) {
        wxRendererNative& renderer = themed ? wxRendererNative::Get() : wxRendererNative::GetGeneric();
        renderer.DrawFocusRect(this, dc, content);
    }
}

void CImageButtonWithStyle::OnEnter(wxMouseEvent& event)
{
    m_hot = true;
    Refresh();
    event.Skip();
}

void CImageButtonWithStyle::OnLeave(wxMouseEvent& event)
{
    m_hot = false;
    Refresh();
    event.Skip();
}

void CImageButtonWithStyle::OnLeftDown(wxMouseEvent&)
{
    if (!IsEnabled())
        return;
    SetFocus();
    // Held until the release, so that releasing outside the button does not click it.
    if (!HasCapture())
        CaptureMouse();
    m_pressed = true;
    m_pointerInside = true;
    Refresh();
}

void CImageButtonWithStyle::OnMouseMove(wxMouseEvent& event)
{
    if (m_pressed && HasCapture()) {
        const bool inside = GetClientRect().Contains(event.GetPosition());
        if (inside != m_pointerInside) {
            m_pointerInside = inside;
            Refresh();
        }
    }
    event.Skip();
}

void CImageButtonWithStyle::OnLeftUp(wxMouseEvent& event)
{
    if (!m_pressed || !HasCapture())
        return;
    const bool inside = GetClientRect().Contains(event.GetPosition());
    EndPress();
    if (inside)
        Click();
}

void CImageButtonWithStyle::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    m_pressed = false;
    Refresh();
}

void CImageButtonWithStyle::OnKeyDown(wxKeyEvent& event)
{
    switch (event.GetKeyCode()) {
    case WXK_SPACE:
        if (!m_pressed) {
            m_pressed = true;
            m_pointerInside = true;
            Refresh();
        }
        return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        Click();
        return;
    default:
        event.Skip();
    }
}

void CImageButtonWithStyle::OnKeyUp(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_SPACE && m_pressed && !HasCapture()) {
        EndPress();
        Click();
        return;
    }
    event.Skip();
}

void CImageButtonWithStyle::OnFocus(wxFocusEvent& event)
{
    if (event.GetEventType() == wxEVT_KILL_FOCUS)
        EndPress();
    Refresh();
    event.Skip();
}

void CImageButtonWithStyle::Click()
{
    if (!IsEnabled())
        return;
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    ProcessWindowEvent(click);
}

void CImageButtonWithStyle::EndPress()
{
    if (HasCapture())
        ReleaseMouse();
    if (m_pressed) {
        m_pressed = false;
        Refresh();
    }
}
