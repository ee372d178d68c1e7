// The drop-down list of the tooltip combo box: an item under the pointer whose text is clipped
// shows its whole text in a tip right over it, in the highlight colours, without a frame.
#pragma once

#include <wx/odcombo.h>
#include <wx/timer.h>

class CClippedTextTip;

class CToolTipListBox : public wxVListBoxComboPopup {
public:
    CToolTipListBox();

    bool Create(wxWindow* parent) override;
    // As wide as the combo box, however long the items: a clipped item has its tip.
    wxSize GetAdjustedSize(int minWidth, int preferredHeight, int maxHeight) override;

    // Null until the list was first dropped down.
    const CClippedTextTip* GetTip() const { return m_tip; }

private:
    void OnMouseMove(wxMouseEvent& event);
    void OnTimer(wxTimerEvent& event);

    CClippedTextTip* m_tip = nullptr;
    wxTimer m_timer;
};
