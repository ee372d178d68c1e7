#include "Harbinax/ToolTipComboBox.h"

#include "Harbinax/ClippedTextTip.h"
#include "Harbinax/ToolTipListBox.h"
#include "HarbinaxCore/TextTipRules.h"

#include <wx/dc.h>
#include <wx/settings.h>
#include <wx/textctrl.h>

CToolTipComboBox::CToolTipComboBox(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                                   long style)
    : wxOwnerDrawnComboBox(parent, id, wxString(), pos, size, 0, nullptr, style), m_list(new CToolTipListBox)
{
    SetPopupControl(m_list);
    m_tip = new CClippedTextTip(this, true);
    Bind(wxEVT_MOTION, &CToolTipComboBox::OnMouseMove, this);
    m_timer.Bind(wxEVT_TIMER, &CToolTipComboBox::OnTimer, this);
    // An editable combo box shows its text in an edit control of its own.
    if (wxTextCtrl* text = GetTextCtrl())
        text->Bind(wxEVT_MOTION, &CToolTipComboBox::OnTextMouseMove, this);
}

wxRect CToolTipComboBox::GetTextArea()
{
    const wxSize client = GetClientSize();
    const STipArea area = ComboTextArea(client.x, client.y, GetButtonSize().x);
    return wxRect(area.x, area.y, area.width, area.height);
}

wxPoint CToolTipComboBox::GetTextOrigin() const
{
    // An editable box's text is its edit control's, inside the control's own frame (half of what
    // the control adds around a text; the desktop does not tell where exactly its text starts).
    if (const wxTextCtrl* text = GetTextCtrl()) {
        const int frame = (text->GetSizeFromTextSize(100).x - 100) / 2;
        return text->GetPosition() + wxPoint(frame, (text->GetSize().y - GetCharHeight()) / 2);
    }
    const wxRect& face = GetTextRect();
    wxPoint origin;
    ClippedTextOrigin({face.x, face.y, face.width, face.height}, GetCharHeight(), origin.x, origin.y);
    return origin;
}

void CToolTipComboBox::OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const
{
    if (item < 0 || static_cast<unsigned int>(item) >= GetCount())
        return;
    wxPoint origin;
    ClippedTextOrigin({rect.x, rect.y, rect.width, rect.height}, dc.GetCharHeight(), origin.x, origin.y);
    wxDCTextColourChanger colour(dc, wxSystemSettings::GetColour((flags & wxODCB_PAINTING_SELECTED)
                                                                     ? wxSYS_COLOUR_HIGHLIGHTTEXT
                                                                     : wxSYS_COLOUR_WINDOWTEXT));
    dc.DrawText(GetString(static_cast<unsigned int>(item)), origin);
}

void CToolTipComboBox::OnMouseMove(wxMouseEvent& event)
{
    UpdateTip(event.GetPosition());
    event.Skip();
}

void CToolTipComboBox::OnTextMouseMove(wxMouseEvent& event)
{
    UpdateTip(ScreenToClient(GetTextCtrl()->ClientToScreen(event.GetPosition())));
    event.Skip();
}

void CToolTipComboBox::UpdateTip(const wxPoint& point)
{
    const wxRect area = GetTextArea();
    const wxString text = GetValue();
    if (!area.Contains(point) || !ComboTextNeedsTip(GetTextExtent(text).x, area.width)) {
        m_tip->HideTip();
        return;
    }
    const wxWindow* focus = FindFocus();
    const bool focused = focus && (focus == this || focus == GetTextCtrl());
    // The tip's frame goes round the text.
    m_tip->ShowTip(text, ClientToScreen(GetTextOrigin()) - wxPoint(1, 1), GetFont(),
                   wxSystemSettings::GetColour(focused ? wxSYS_COLOUR_HIGHLIGHTTEXT : wxSYS_COLOUR_WINDOWTEXT),
                   wxSystemSettings::GetColour(focused ? wxSYS_COLOUR_HIGHLIGHT : wxSYS_COLOUR_WINDOW));
    m_timer.Start(kTextTipCheckMs);
}

void CToolTipComboBox::OnTimer(wxTimerEvent&)
{
    const wxPoint pointer = ScreenToClient(wxGetMousePosition());
    const wxRect area = GetTextArea();
    if (ComboTipStays({area.x, area.y, area.width, area.height}, pointer.x, pointer.y))
        return;
    m_timer.Stop();
    m_tip->HideTip();
}
