#include "Harbinax/ToolTipListBox.h"

#include "Harbinax/ClippedTextTip.h"
#include "HarbinaxCore/TextTipRules.h"

#include <wx/settings.h>

namespace {

STipArea AreaOf(const wxRect& rect)
{
    return {rect.x, rect.y, rect.width, rect.height};
}

}  // namespace

CToolTipListBox::CToolTipListBox() = default;

bool CToolTipListBox::Create(wxWindow* parent)
{
    if (!wxVListBoxComboPopup::Create(parent))
        return false;
    m_tip = new CClippedTextTip(this, false);
    Bind(wxEVT_MOTION, &CToolTipListBox::OnMouseMove, this);
    m_timer.Bind(wxEVT_TIMER, &CToolTipListBox::OnTimer, this);
    return true;
}

wxSize CToolTipListBox::GetAdjustedSize(int minWidth, int preferredHeight, int maxHeight)
{
    return wxSize(minWidth, wxVListBoxComboPopup::GetAdjustedSize(minWidth, preferredHeight, maxHeight).y);
}

void CToolTipListBox::OnMouseMove(wxMouseEvent& event)
{
    event.Skip();
    const wxPoint point = event.GetPosition();
    if (!GetClientRect().Contains(point)) {
        m_tip->HideTip();
        return;
    }
    const int item = VirtualHitTest(point.y);
    if (item == wxNOT_FOUND) {
        m_tip->HideTip();
        return;
    }
    const wxString text = GetString(item);
    const wxRect itemRect = GetItemRect(static_cast<size_t>(item));
    if (!ListItemNeedsTip(GetTextExtent(text).x, itemRect.width)) {
        m_tip->HideTip();
        return;
    }
    wxPoint origin;
    ClippedTextOrigin(AreaOf(itemRect), GetCharHeight(), origin.x, origin.y);
    m_tip->ShowTip(text, ClientToScreen(origin), GetFont(),
                   wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT),
                   wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));
    m_timer.Start(kTextTipCheckMs);
}

void CToolTipListBox::OnTimer(wxTimerEvent&)
{
    const wxPoint pointer = ScreenToClient(wxGetMousePosition());
    if (ListTipStays(AreaOf(GetClientRect()), pointer.x, pointer.y, IsShownOnScreen()))
        return;
    m_timer.Stop();
    m_tip->HideTip();
}
