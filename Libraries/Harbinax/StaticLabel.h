// The static text of dialog resources. wx asks GTK for a label's default font whenever the
// label takes its parent's font, which every label of a dialog with a font of its own does;
// the answer is the same for all labels, so it is asked once. A label that GTK shortens with an
// ellipsis has its whole text as its tip.
#pragma once

#include <wx/stattext.h>

class CStaticLabel : public wxStaticText {
public:
    CStaticLabel(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos, const wxSize& size,
                 long style);

    wxVisualAttributes GetDefaultAttributes() const override;
    void SetLabel(const wxString& label) override;

private:
    // The tip shows the whole text while the label is too narrow for it, and no tip otherwise.
    void UpdateTip();
};
