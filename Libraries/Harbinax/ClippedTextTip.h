// The tip that shows the whole of a clipped text right over it. It takes neither the focus nor
// the mouse: mouse events on it go on to the window it belongs to, as if the tip were not there.
#pragma once

#include <wx/popupwin.h>

class CClippedTextTip : public wxPopupWindow {
public:
    // owner: the window whose text the tip shows; bordered: a one-pixel frame around the text.
    CClippedTextTip(wxWindow* owner, bool bordered);

    // Shows the text with its top-left corner (the frame's, when bordered) at the screen point.
    void ShowTip(const wxString& text, const wxPoint& screenTopLeft, const wxFont& font, const wxColour& foreground,
                 const wxColour& background);
    void HideTip();

    bool IsTipShown() const { return IsShown(); }
    const wxString& GetText() const { return m_text; }
    bool IsBordered() const { return m_bordered; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnMouse(wxMouseEvent& event);

    wxWindow* m_owner;
    bool m_bordered;
    wxString m_text;
};
