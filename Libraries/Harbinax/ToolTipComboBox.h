// A combo box that shows its whole text in a tip when the text is clipped, right over the
// clipped text, and whose drop-down list (CToolTipListBox) does the same for the item under the
// pointer. The tip goes as soon as the pointer leaves the text.
#pragma once

#include <wx/odcombo.h>
#include <wx/timer.h>

class CClippedTextTip;
class CToolTipListBox;

class CToolTipComboBox : public wxOwnerDrawnComboBox {
public:
    CToolTipComboBox(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                     const wxSize& size = wxDefaultSize, long style = 0);

    // The part of the client area the text is shown in: all but the drop button.
    wxRect GetTextArea();
    // Where the face's text starts, in client coordinates.
    wxPoint GetTextOrigin() const;

    const CClippedTextTip& GetTip() const { return *m_tip; }
    CToolTipListBox& GetListBox() { return *m_list; }

protected:
    // The face and the list items alike: the text where the tips expect it.
    void OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const override;

private:
    void OnMouseMove(wxMouseEvent& event);
    void OnTextMouseMove(wxMouseEvent& event);
    void OnTimer(wxTimerEvent& event);

    void UpdateTip(const wxPoint& point);

    CToolTipListBox* m_list;  // owned by the combo box as its popup
    CClippedTextTip* m_tip;
    wxTimer m_timer;
};
