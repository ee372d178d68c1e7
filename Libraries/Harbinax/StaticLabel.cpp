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
    // Created here rather than by the base's constructor, so that creation asks our
    // GetDefaultAttributes.
    Create(parent, id, label, pos, size, style);
}

wxVisualAttributes CStaticLabel::GetDefaultAttributes() const
{
    return LabelTheme().Get([this] { return wxStaticText::GetDefaultAttributes(); });
}
