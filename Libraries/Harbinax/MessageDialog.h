// The programs' message box window: wx's own message box, made wide enough that the window
// manager can write its whole caption into the title bar.
#pragma once

#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>

class CMessageDialog : public wxGenericMessageDialog {
public:
    CMessageDialog(wxWindow* owner, const wxString& text, const wxString& caption, long style);

    bool Show(bool show = true) override;

    // The width the caption needs in the title bar, with the window menu and the buttons beside it.
    int CaptionWidth() const;
};
