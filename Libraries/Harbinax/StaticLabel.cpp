#include "Harbinax/StaticLabel.h"

#include "Harbinax/ThemeAttributes.h"

namespace {

CThemeAttributes& LabelTheme()
{
    static CThemeAttributes theme;
    return theme;
}

}  // namespace

CStaticLabel::CStaticLabel(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                           const wxSize& size, long style)
{
    Bind(wxEVT_SYS_COLOUR_CHANGED, [](wxSysColourChangedEvent& event) {
        LabelTheme().Forget();
        event.Skip();
    });
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        UpdateTip();
        event.Skip();
    });
    // Created here rather than by the base's constructor, so that creation asks our
    // GetDefaultAttributes.
    Create(parent, id, label, pos, size, style);
    UpdateTip();
}

void CStaticLabel::SetLabel(const wxString& label)
{
    wxStaticText::SetLabel(label);
    UpdateTip();
}

void CStaticLabel::UpdateTip()
{
    const wxString text = GetLabelText();
    const bool shortened = IsEllipsized() && !text.empty() && GetTextExtent(text).x > GetClientSize().x;
    if (shortened && GetToolTipText() != text)
        SetToolTip(text);
    else if (!shortened && GetToolTip())
        UnsetToolTip();
}

wxVisualAttributes CStaticLabel::GetDefaultAttributes() const
{
    return LabelTheme().Get([this] { return wxStaticText::GetDefaultAttributes(); });
}
