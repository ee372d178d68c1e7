#include "Harbinax/VisualStyles.h"

#include <wx/dc.h>
#include <wx/font.h>
#include <wx/region.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/window.h>

namespace {

const CVisualStyles* testStyles = nullptr;

int RendererFlags(const SThemeDrawState& state)
{
    int flags = 0;
    if (state.disabled)
        flags |= wxCONTROL_DISABLED;
    if (state.pressed)
        flags |= wxCONTROL_PRESSED;
    if (state.hot)
        flags |= wxCONTROL_CURRENT;
    if (state.isDefault)
        flags |= wxCONTROL_ISDEFAULT;
    if (state.checked)
        flags |= wxCONTROL_CHECKED;
    if (state.mixed)
        flags |= wxCONTROL_UNDETERMINED;
    return flags;
}

SThemeContentMargins MarginsOf(const CVisualStyles::SThemeHandle& theme, int part)
{
    const int headerMargin =
        theme.themeClass == EThemeClass::Header ? wxRendererNative::Get().GetHeaderButtonMargin(theme.window) : 0;
    return ThemeContentMargins(theme.themeClass, part, headerMargin);
}

}  // namespace

CVisualStyles::CVisualStyles(bool native) : m_native(native) {}

const CVisualStyles& CVisualStyles::Get()
{
    static const CVisualStyles desktop(true);
    return testStyles ? *testStyles : desktop;
}

void CVisualStyles::SetForTesting(const CVisualStyles* styles)
{
    testStyles = styles;
}

CVisualStyles::SThemeHandle CVisualStyles::OpenThemeData(wxWindow* window, const wxString& classList) const
{
    SThemeHandle theme;
    if (!m_native)
        return theme;
    theme.themeClass = FindThemeClass(classList.ToStdWstring());
    if (theme)
        theme.window = window;
    return theme;
}

CVisualStyles::Result CVisualStyles::CloseThemeData(SThemeHandle theme) const
{
    // Opening holds nothing that closing would have to give back.
    return m_native && theme ? kOk : kFail;
}

bool CVisualStyles::IsThemePartDefined(SThemeHandle theme, int part, int state) const
{
    return m_native && IsThemePartDrawn(theme.themeClass, part, state);
}

CVisualStyles::Result CVisualStyles::DrawThemeBackground(SThemeHandle theme, wxDC& dc, int part, int state,
                                                         const wxRect& rect, const wxRect* clip) const
{
    SThemeDrawState drawState;
    if (!m_native || !DecodeThemeState(theme.themeClass, part, state, drawState))
        return kFail;
    wxDCClipper clipper(dc, clip ? *clip : rect);
    wxRendererNative& renderer = wxRendererNative::Get();
    const int flags = RendererFlags(drawState);
    switch (theme.themeClass) {
    case EThemeClass::Button:
        if (part == ThemePart::kCheckBox)
            renderer.DrawCheckBox(theme.window, dc, rect, flags);
        else
            renderer.DrawPushButton(theme.window, dc, rect, flags);
        break;
    case EThemeClass::ComboBox:
        renderer.DrawComboBoxDropButton(theme.window, dc, rect, flags);
        break;
    case EThemeClass::Header:
        renderer.DrawHeaderButton(theme.window, dc, rect, flags);
        break;
    case EThemeClass::None:
        return kFail;
    }
    return kOk;
}

CVisualStyles::Result CVisualStyles::GetThemeBackgroundContentRect(SThemeHandle theme, wxDC&, int part, int state,
                                                                   const wxRect& bounds, wxRect* content) const
{
    if (!IsThemePartDefined(theme, part, state) || !content)
        return kFail;
    const SThemeContentMargins margins = MarginsOf(theme, part);
    *content = bounds;
    content->Deflate(margins.horizontal, margins.vertical);
    return kOk;
}

CVisualStyles::Result CVisualStyles::GetThemeBackgroundExtent(SThemeHandle theme, wxDC&, int part, int state,
                                                              const wxRect& content, wxRect* extent) const
{
    if (!IsThemePartDefined(theme, part, state) || !extent)
        return kFail;
    const SThemeContentMargins margins = MarginsOf(theme, part);
    *extent = content;
    extent->Inflate(margins.horizontal, margins.vertical);
    return kOk;
}

CVisualStyles::Result CVisualStyles::GetThemePartSize(SThemeHandle theme, wxDC&, int part, int state,
                                                      wxSize* size) const
{
    if (!IsThemePartDefined(theme, part, state) || !size || theme.themeClass != EThemeClass::Button ||
        part != ThemePart::kCheckBox)
        return kFail;
    *size = wxRendererNative::Get().GetCheckBoxSize(theme.window);
    return kOk;
}

CVisualStyles::Result CVisualStyles::DrawThemeParentBackground(wxWindow* window, wxDC& dc, const wxRect* rect) const
{
    if (!m_native || !window || !window->GetParent())
        return kFail;
    const wxColour colour = window->GetParent()->GetBackgroundColour();
    wxDCBrushChanger brush(dc, wxBrush(colour));
    wxDCPenChanger pen(dc, *wxTRANSPARENT_PEN);
    dc.DrawRectangle(rect ? *rect : wxRect(window->GetClientSize()));
    return kOk;
}

wxColour CVisualStyles::GetThemeSysColor(SThemeHandle, int colourIndex) const
{
    if (!m_native || colourIndex < 0 || colourIndex >= wxSYS_COLOUR_MAX)
        return *wxWHITE;
    return wxSystemSettings::GetColour(static_cast<wxSystemColour>(colourIndex));
}

wxBrush CVisualStyles::GetThemeSysColorBrush(SThemeHandle theme, int colourIndex) const
{
    if (!m_native || colourIndex < 0 || colourIndex >= wxSYS_COLOUR_MAX)
        return wxNullBrush;
    return wxBrush(GetThemeSysColor(theme, colourIndex));
}

CVisualStyles::Result CVisualStyles::GetThemeSysFont(SThemeHandle, int fontId, wxFont* font) const
{
    if (!m_native || !font || fontId < kCaptionFont || fontId > kIconTitleFont)
        return kFail;
    *font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    return kOk;
}

CVisualStyles::Result CVisualStyles::GetThemeTextMetrics(SThemeHandle theme, wxDC& dc, int part, int state,
                                                         wxFontMetrics* metrics) const
{
    if (!IsThemePartDefined(theme, part, state) || !metrics)
        return kFail;
    *metrics = dc.GetFontMetrics();
    return kOk;
}

CVisualStyles::Result CVisualStyles::GetThemeBackgroundRegion(SThemeHandle theme, wxDC&, int part, int state,
                                                              const wxRect& rect, wxRegion* region) const
{
    if (!IsThemePartDefined(theme, part, state) || !region)
        return kFail;
    *region = wxRegion(rect);
    return kOk;
}

CVisualStyles::Result CVisualStyles::GetThemeMargins(SThemeHandle theme, wxDC*, int part, int state, int property,
                                                     const wxRect*, SMargins* margins) const
{
    if (!IsThemePartDefined(theme, part, state) || !margins || property != kContentMargins)
        return kFail;
    const SThemeContentMargins content = MarginsOf(theme, part);
    *margins = {content.horizontal, content.horizontal, content.vertical, content.vertical};
    return kOk;
}
