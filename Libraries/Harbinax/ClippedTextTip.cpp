#include "Harbinax/ClippedTextTip.h"

#include <wx/dcbuffer.h>

CClippedTextTip::CClippedTextTip(wxWindow* owner, bool bordered)
    : wxPopupWindow(owner, wxBORDER_NONE), m_owner(owner), m_bordered(bordered)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CClippedTextTip::OnPaint, this);
    for (const wxEventTypeTag<wxMouseEvent>& type :
         {wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_MIDDLE_DOWN, wxEVT_MIDDLE_UP,
          wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, wxEVT_MOUSEWHEEL})
        Bind(type, &CClippedTextTip::OnMouse, this);
}

void CClippedTextTip::ShowTip(const wxString& text, const wxPoint& screenTopLeft, const wxFont& font,
                              const wxColour& foreground, const wxColour& background)
{
    m_text = text;
    SetFont(font);
    SetForegroundColour(foreground);
    SetBackgroundColour(background);
    const int frame = m_bordered ? 1 : 0;
    const wxSize size = GetTextExtent(text) + wxSize(2 * frame, 2 * frame);
    SetSize(wxRect(screenTopLeft, size));
    if (!IsShown())
        Show();
    Refresh();
}

void CClippedTextTip::HideTip()
{
    if (IsShown())
        Hide();
}

void CClippedTextTip::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    const int frame = m_bordered ? 1 : 0;
    if (m_bordered) {
        dc.SetPen(wxPen(GetForegroundColour()));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(GetClientRect());
    }
    dc.SetFont(GetFont());
    dc.SetTextForeground(GetForegroundColour());
    dc.DrawText(m_text, frame, frame);
}

void CClippedTextTip::OnMouse(wxMouseEvent& event)
{
    wxMouseEvent forwarded(event);
    forwarded.SetPosition(m_owner->ScreenToClient(ClientToScreen(event.GetPosition())));
    forwarded.SetEventObject(m_owner);
    forwarded.SetId(m_owner->GetId());
    m_owner->GetEventHandler()->ProcessEvent(forwarded);
}
