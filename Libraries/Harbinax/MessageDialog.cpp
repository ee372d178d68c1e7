#include "Harbinax/MessageDialog.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

namespace {

// Beside its caption a title bar holds the window menu and up to three buttons, each about as
// wide as a line is high; one more keeps the text off the edges.
constexpr int kTitleBarSquares = 5;

}  // namespace

CMessageDialog::CMessageDialog(wxWindow* owner, const wxString& text, const wxString& caption, long style)
    : wxGenericMessageDialog(owner, text, caption, style)
{
}

bool CMessageDialog::Show(bool show)
{
    // The box is laid out for its text only once shown modally, just before this.
    const int width = show ? CaptionWidth() : 0;
    if (GetSize().x < width) {
        SetMinSize(wxSize(width, GetMinSize().y));
        SetSize(width, GetSize().y);
        Centre();
    }
    return wxGenericMessageDialog::Show(show);
}

int CMessageDialog::CaptionWidth() const
{
    // Window managers write captions in a bold face of about the desktop's size.
    wxClientDC dc(const_cast<CMessageDialog*>(this));
    dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).Bold());
    const wxSize text = dc.GetTextExtent(GetTitle());
    return text.x + kTitleBarSquares * text.y;
}
