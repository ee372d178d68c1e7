// Themed drawing of standard control parts. Callers ask the same questions whatever the desktop:
// where the desktop's renderer draws a part natively (push buttons, check boxes, combo box drop
// buttons, header items) the answer is native; everything else answers as a system without
// themes does (no theme, failure, white), so callers fall back to their classic drawing without
// testing the platform.
//
// Results follow the usual convention: 0 for success, negative for failure.
#pragma once

#include "HarbinaxCore/ThemeParts.h"

#include <wx/brush.h>
#include <wx/colour.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

#include <cstdint>
#include <vector>

class wxBitmap;
class wxDC;
class wxFont;
class wxRegion;
class wxWindow;
struct wxFontMetrics;

class CVisualStyles {
public:
    using Result = std::int32_t;
    static constexpr Result kOk = 0;
    static constexpr Result kFail = static_cast<Result>(0x80004005u);
    static bool Succeeded(Result result) { return result >= 0; }

    // A theme opened for a window; an empty handle stands for "no theme".
    struct SThemeHandle {
        EThemeClass themeClass = EThemeClass::None;
        wxWindow* window = nullptr;

        explicit operator bool() const { return themeClass != EThemeClass::None; }
    };

    // native false stands for a desktop without themes: every answer is the fall-back.
    explicit CVisualStyles(bool native);

    // The process-wide instance, with the desktop's renderer.
    static const CVisualStyles& Get();
    // Margin properties of GetThemeMargins; only content margins have a native answer.
    static constexpr int kSizingMargins = 3601;
    static constexpr int kContentMargins = 3602;
    static constexpr int kCaptionMargins = 3603;
    // System font ids of GetThemeSysFont, from caption to icon title.
    static constexpr int kCaptionFont = 801;
    static constexpr int kIconTitleFont = 806;

    struct SMargins {
        int left = 0;
        int right = 0;
        int top = 0;
        int bottom = 0;
    };

    // Tests: what Get answers; null restores the process-wide instance.
    static void SetForTesting(const CVisualStyles* styles);

    bool IsThemeActive() const { return m_native; }
    bool IsAppThemed() const { return m_native; }

    // classList: ';'-separated class names, the first one drawn natively wins ("BUTTON").
    SThemeHandle OpenThemeData(wxWindow* window, const wxString& classList) const;
    Result CloseThemeData(SThemeHandle theme) const;
    bool IsThemePartDefined(SThemeHandle theme, int part, int state) const;

    // Draws the part in the state over rect, limited to clip when one is given.
    Result DrawThemeBackground(SThemeHandle theme, wxDC& dc, int part, int state, const wxRect& rect,
                               const wxRect* clip = nullptr) const;
    // The rectangle inside bounds that the part's content goes into, and the reverse.
    Result GetThemeBackgroundContentRect(SThemeHandle theme, wxDC& dc, int part, int state, const wxRect& bounds,
                                         wxRect* content) const;
    Result GetThemeBackgroundExtent(SThemeHandle theme, wxDC& dc, int part, int state, const wxRect& content,
                                    wxRect* extent) const;
    // The part's natural size (check boxes).
    Result GetThemePartSize(SThemeHandle theme, wxDC& dc, int part, int state, wxSize* size) const;
    // Paints the parent's background behind rect of the window (its whole client area when rect
    // is null), for parts whose corners let the parent show through.
    Result DrawThemeParentBackground(wxWindow* window, wxDC& dc, const wxRect* rect) const;
    // A system colour by its index (wxSystemColour numbering); white without themes.
    wxColour GetThemeSysColor(SThemeHandle theme, int colourIndex) const;
    // A brush of that colour; no brush (wxNullBrush) without themes or for an unknown index.
    wxBrush GetThemeSysColorBrush(SThemeHandle theme, int colourIndex) const;
    // The desktop's font for the ids kCaptionFont to kIconTitleFont: the desktop has one font for
    // all of them.
    Result GetThemeSysFont(SThemeHandle theme, int fontId, wxFont* font) const;
    // The metrics of the font selected into dc, for a part the desktop draws.
    Result GetThemeTextMetrics(SThemeHandle theme, wxDC& dc, int part, int state, wxFontMetrics* metrics) const;
    // The area a drawn part covers within rect: all of it, since the desktop draws parts square.
    Result GetThemeBackgroundRegion(SThemeHandle theme, wxDC& dc, int part, int state, const wxRect& rect,
                                    wxRegion* region) const;
    // The content margins of a part the desktop draws (kContentMargins only).
    Result GetThemeMargins(SThemeHandle theme, wxDC* dc, int part, int state, int property, const wxRect* rect,
                           SMargins* margins) const;

    // Questions no desktop here answers: the answers of a system without themes.
    Result DrawThemeText(SThemeHandle, wxDC&, int /*part*/, int /*state*/, const wxString&, int /*flags*/,
                         const wxRect&) const
    {
        return kFail;
    }
    Result GetThemeTextExtent(SThemeHandle, wxDC&, int /*part*/, int /*state*/, const wxString&, int /*flags*/,
                              wxRect*) const
    {
        return kFail;
    }
    Result HitTestThemeBackground(SThemeHandle, wxDC&, int /*part*/, int /*state*/, const wxRect&, const wxPoint&,
                                  int* /*hitCode*/) const
    {
        return kFail;
    }
    Result DrawThemeEdge(SThemeHandle, wxDC&, int /*part*/, int /*state*/, const wxRect&, int /*edge*/,
                         int /*flags*/) const
    {
        return kFail;
    }
    bool IsThemeBackgroundPartiallyTransparent(SThemeHandle, int /*part*/, int /*state*/) const { return false; }
    Result GetThemeColor(SThemeHandle, int /*part*/, int /*state*/, int /*property*/, wxColour*) const { return kFail; }
    Result GetThemeMetric(SThemeHandle, wxDC&, int /*part*/, int /*state*/, int /*property*/, int*) const
    {
        return kFail;
    }
    Result GetThemeString(SThemeHandle, int /*part*/, int /*state*/, int /*property*/, wxString*) const
    {
        return kFail;
    }
    Result GetThemeBool(SThemeHandle, int /*part*/, int /*state*/, int /*property*/, bool*) const { return kFail; }
    Result GetThemeInt(SThemeHandle, int /*part*/, int /*state*/, int /*property*/, int*) const { return kFail; }
    Result GetThemeEnumValue(SThemeHandle, int /*part*/, int /*state*/, int /*property*/, int*) const { return kFail; }
    Result GetThemePosition(SThemeHandle, int /*part*/, int /*state*/, int /*property*/, wxPoint*) const
    {
        return kFail;
    }
    Result GetThemeRect(SThemeHandle, int /*part*/, int /*state*/, int /*property*/, wxRect*) const { return kFail; }
    Result DrawThemeIcon(SThemeHandle, wxDC&, int /*part*/, int /*state*/, const wxRect&, const wxBitmap& /*icon*/) const
    {
        return kFail;
    }
    Result GetThemeFont(SThemeHandle, wxDC*, int /*part*/, int /*state*/, int /*property*/, wxFont*) const
    {
        return kFail;
    }
    Result GetThemeIntList(SThemeHandle, int /*part*/, int /*state*/, int /*property*/, std::vector<int>*) const
    {
        return kFail;
    }
    Result GetThemePropertyOrigin(SThemeHandle, int /*part*/, int /*state*/, int /*property*/, int* /*origin*/) const
    {
        return kFail;
    }
    Result GetThemeFilename(SThemeHandle, int /*part*/, int /*state*/, int /*property*/, wxString*) const
    {
        return kFail;
    }
    Result SetWindowTheme(wxWindow*, const wxString& /*appName*/, const wxString& /*idList*/) const { return kFail; }
    SThemeHandle GetWindowTheme(wxWindow*) const { return SThemeHandle(); }
    bool GetThemeSysBool(SThemeHandle, int /*boolId*/) const { return false; }
    int GetThemeSysSize(SThemeHandle, int /*sizeId*/) const { return 0; }
    Result GetThemeSysString(SThemeHandle, int /*stringId*/, wxString*) const { return kFail; }
    Result GetThemeSysInt(SThemeHandle, int /*intId*/, int*) const { return kFail; }
    Result EnableThemeDialogTexture(wxWindow*, int /*flags*/) const { return kFail; }
    bool IsThemeDialogTextureEnabled(wxWindow*) const { return false; }
    unsigned GetThemeAppProperties() const { return 0; }
    void SetThemeAppProperties(unsigned /*flags*/) const {}
    Result GetCurrentThemeName(wxString* /*fileName*/, wxString* /*colour*/, wxString* /*size*/) const
    {
        return kFail;
    }
    Result GetThemeDocumentationProperty(const wxString& /*themeName*/, const wxString& /*property*/,
                                         wxString*) const
    {
        return kFail;
    }
    Result EnableTheming(bool) const { return kFail; }

private:
    bool m_native;
};
