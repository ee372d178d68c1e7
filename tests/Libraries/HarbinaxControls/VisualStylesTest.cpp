#include "ControlFrameTest.h"

#include "Harbinax/VisualStyles.h"

#include <wx/dcmemory.h>
#include <wx/font.h>
#include <wx/image.h>
#include <wx/region.h>
#include <wx/settings.h>

#include <algorithm>

namespace {

using Theme = CVisualStyles::SThemeHandle;

// A white bitmap to draw on.
wxBitmap WhiteBitmap(const wxSize& size)
{
    wxBitmap bitmap(size);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    return bitmap;
}

bool IsAllWhite(const wxBitmap& bitmap)
{
    const wxImage image = bitmap.ConvertToImage();
    const unsigned char* data = image.GetData();
    for (int i = 0; i < image.GetWidth() * image.GetHeight() * 3; ++i) {
        if (data[i] != 255)
            return false;
    }
    return true;
}

bool SamePixels(const wxBitmap& a, const wxBitmap& b)
{
    const wxImage first = a.ConvertToImage();
    const wxImage second = b.ConvertToImage();
    return first.GetSize() == second.GetSize() &&
           std::equal(first.GetData(), first.GetData() + first.GetWidth() * first.GetHeight() * 3, second.GetData());
}

// Draws one part in one state onto a fresh white bitmap; the result of the call.
CVisualStyles::Result DrawPart(const CVisualStyles& styles, const Theme& theme, int part, int state, wxBitmap& out)
{
    out = WhiteBitmap(wxSize(40, 30));
    wxMemoryDC dc(out);
    const CVisualStyles::Result result = styles.DrawThemeBackground(theme, dc, part, state, wxRect(2, 2, 36, 26));
    dc.SelectObject(wxNullBitmap);
    return result;
}

class VisualStylesTest : public CControlFrameTest {};

TEST_F(VisualStylesTest, WithoutThemesEveryQuestionHasTheFallBackAnswer)
{
    const CVisualStyles none(false);
    EXPECT_FALSE(none.IsThemeActive());
    EXPECT_FALSE(none.IsAppThemed());
    const Theme theme = none.OpenThemeData(m_panel, "BUTTON");
    EXPECT_FALSE(theme);
    EXPECT_EQ(none.CloseThemeData(theme), CVisualStyles::kFail);
    EXPECT_FALSE(none.IsThemePartDefined(theme, ThemePart::kPushButton, 0));

    // Not even a handle made by a themed instance gets a drawing out of it.
    const Theme native = CVisualStyles(true).OpenThemeData(m_panel, "BUTTON");
    ASSERT_TRUE(native);
    wxBitmap drawn;
    EXPECT_EQ(DrawPart(none, native, ThemePart::kPushButton, ThemeState::kNormal, drawn), CVisualStyles::kFail);
    EXPECT_TRUE(IsAllWhite(drawn));

    wxBitmap bitmap = WhiteBitmap(wxSize(20, 20));
    wxMemoryDC dc(bitmap);
    wxRect rect;
    wxSize size;
    EXPECT_EQ(none.GetThemeBackgroundContentRect(native, dc, ThemePart::kPushButton, 1, wxRect(0, 0, 20, 20), &rect),
              CVisualStyles::kFail);
    EXPECT_EQ(none.GetThemeBackgroundExtent(native, dc, ThemePart::kPushButton, 1, wxRect(0, 0, 20, 20), &rect),
              CVisualStyles::kFail);
    EXPECT_EQ(none.GetThemePartSize(native, dc, ThemePart::kCheckBox, 1, &size), CVisualStyles::kFail);
    EXPECT_EQ(none.DrawThemeParentBackground(m_panel, dc, nullptr), CVisualStyles::kFail);
    dc.SelectObject(wxNullBitmap);
    EXPECT_TRUE(IsAllWhite(bitmap));
    EXPECT_EQ(none.GetThemeSysColor(native, wxSYS_COLOUR_HIGHLIGHT), *wxWHITE);
}

TEST_F(VisualStylesTest, QuestionsWithoutNativeAnswerFallBackOnThemedDesktopsToo)
{
    const CVisualStyles desktop(true);
    const Theme theme = desktop.OpenThemeData(m_panel, "BUTTON");
    wxBitmap bitmap = WhiteBitmap(wxSize(20, 20));
    wxMemoryDC dc(bitmap);
    EXPECT_EQ(desktop.DrawThemeText(theme, dc, 1, 1, "text", 0, wxRect(0, 0, 20, 20)), CVisualStyles::kFail);
    wxColour colour;
    EXPECT_EQ(desktop.GetThemeColor(theme, 1, 1, 3803, &colour), CVisualStyles::kFail);
    int value = 7;
    EXPECT_EQ(desktop.GetThemeInt(theme, 1, 1, 2401, &value), CVisualStyles::kFail);
    EXPECT_FALSE(desktop.GetWindowTheme(m_panel));
    EXPECT_FALSE(desktop.GetThemeSysBool(theme, 1001));
    EXPECT_EQ(desktop.GetThemeSysSize(theme, 1), 0);
    EXPECT_FALSE(desktop.IsThemeDialogTextureEnabled(m_panel));
    EXPECT_EQ(desktop.GetThemeAppProperties(), 0u);
    EXPECT_EQ(desktop.EnableTheming(true), CVisualStyles::kFail);
    dc.SelectObject(wxNullBitmap);
    EXPECT_TRUE(IsAllWhite(bitmap));
}

// The questions added last, asked of a push button with and without a theme.
TEST_F(VisualStylesTest, MetricsFontsMarginsAndRegions)
{
    const CVisualStyles desktop(true);
    const CVisualStyles none(false);
    const Theme theme = desktop.OpenThemeData(m_panel, "BUTTON");
    ASSERT_TRUE(theme);
    wxBitmap bitmap = WhiteBitmap(wxSize(40, 30));
    wxMemoryDC dc(bitmap);
    dc.SetFont(m_panel->GetFont());
    const int part = ThemePart::kPushButton;
    const int state = ThemeState::kNormal;

    wxFontMetrics metrics;
    EXPECT_EQ(desktop.GetThemeTextMetrics(theme, dc, part, state, &metrics), CVisualStyles::kOk);
    EXPECT_GT(metrics.height, 0);
    EXPECT_EQ(metrics.height, metrics.ascent + metrics.descent);
    EXPECT_GT(metrics.averageWidth, 0);
    EXPECT_EQ(none.GetThemeTextMetrics(theme, dc, part, state, &metrics), CVisualStyles::kFail);

    wxRegion region;
    EXPECT_EQ(desktop.GetThemeBackgroundRegion(theme, dc, part, state, wxRect(2, 3, 30, 20), &region),
              CVisualStyles::kOk);
    EXPECT_EQ(region.GetBox(), wxRect(2, 3, 30, 20));
    EXPECT_EQ(none.GetThemeBackgroundRegion(theme, dc, part, state, wxRect(2, 3, 30, 20), &region),
              CVisualStyles::kFail);

    // The margins are those between the part's bounds and its content rectangle.
    CVisualStyles::SMargins margins;
    ASSERT_EQ(desktop.GetThemeMargins(theme, &dc, part, state, CVisualStyles::kContentMargins, nullptr, &margins),
              CVisualStyles::kOk);
    wxRect content;
    ASSERT_EQ(desktop.GetThemeBackgroundContentRect(theme, dc, part, state, wxRect(0, 0, 40, 30), &content),
              CVisualStyles::kOk);
    EXPECT_EQ(content, wxRect(margins.left, margins.top, 40 - margins.left - margins.right,
                              30 - margins.top - margins.bottom));
    EXPECT_EQ(desktop.GetThemeMargins(theme, &dc, part, state, CVisualStyles::kSizingMargins, nullptr, &margins),
              CVisualStyles::kFail);
    EXPECT_EQ(none.GetThemeMargins(theme, &dc, part, state, CVisualStyles::kContentMargins, nullptr, &margins),
              CVisualStyles::kFail);

    wxFont font;
    EXPECT_EQ(desktop.GetThemeSysFont(theme, CVisualStyles::kCaptionFont, &font), CVisualStyles::kOk);
    EXPECT_TRUE(font.IsOk());
    EXPECT_EQ(desktop.GetThemeSysFont(theme, 42, &font), CVisualStyles::kFail);
    EXPECT_EQ(none.GetThemeSysFont(theme, CVisualStyles::kCaptionFont, &font), CVisualStyles::kFail);
    EXPECT_EQ(desktop.GetThemeFont(theme, &dc, part, state, 210, &font), CVisualStyles::kFail);

    const wxBrush brush = desktop.GetThemeSysColorBrush(theme, wxSYS_COLOUR_HIGHLIGHT);
    ASSERT_TRUE(brush.IsOk());
    EXPECT_EQ(brush.GetColour(), wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));
    EXPECT_FALSE(desktop.GetThemeSysColorBrush(theme, -1).IsOk());
    EXPECT_FALSE(none.GetThemeSysColorBrush(theme, wxSYS_COLOUR_HIGHLIGHT).IsOk());

    // No desktop answers these: the answers of a system without themes, and nothing drawn.
    std::vector<int> list;
    int origin = 0;
    for (const CVisualStyles* styles : {&desktop, &none}) {
        EXPECT_EQ(styles->DrawThemeIcon(theme, dc, part, state, wxRect(0, 0, 16, 16), wxBitmap(16, 16)),
                  CVisualStyles::kFail);
        EXPECT_EQ(styles->GetThemeIntList(theme, part, state, 6000, &list), CVisualStyles::kFail);
        EXPECT_EQ(styles->GetThemePropertyOrigin(theme, part, state, 3602, &origin), CVisualStyles::kFail);
    }
    EXPECT_TRUE(list.empty());
    dc.SelectObject(wxNullBitmap);
    EXPECT_TRUE(IsAllWhite(bitmap));
}

TEST_F(VisualStylesTest, DesktopDrawsTheNativeParts)
{
    ShowFrame();
    const CVisualStyles& desktop = CVisualStyles::Get();
    EXPECT_TRUE(desktop.IsThemeActive());
    EXPECT_TRUE(desktop.IsAppThemed());
    EXPECT_FALSE(desktop.OpenThemeData(m_panel, "EDIT;TOOLBAR"));

    struct SCase {
        const char* classList;
        int part;
        int first;
        int second;  // a state that must look different from the first; 0: none

    };
    const SCase cases[] = {
        {"Button", ThemePart::kPushButton, ThemeState::kNormal, ThemeState::kPressed},
        {"BUTTON", ThemePart::kCheckBox, 1, 5},  // unchecked, checked
        {"ComboBox", ThemePart::kDropDownButton, ThemeState::kNormal, ThemeState::kDisabled},
        {"Header", ThemePart::kHeaderItem, ThemeState::kNormal, 0},  // GTK headers look alike pressed
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.classList);
        const Theme theme = desktop.OpenThemeData(m_panel, c.classList);
        ASSERT_TRUE(theme);
        wxBitmap first;
        wxBitmap second;
        EXPECT_EQ(DrawPart(desktop, theme, c.part, c.first, first), CVisualStyles::kOk);
        EXPECT_FALSE(IsAllWhite(first));
        if (c.second != 0) {
            EXPECT_EQ(DrawPart(desktop, theme, c.part, c.second, second), CVisualStyles::kOk);
            EXPECT_FALSE(SamePixels(first, second));
        }
        // A part the class does not have draws nothing.
        wxBitmap unknown;
        EXPECT_EQ(DrawPart(desktop, theme, 9, 1, unknown), CVisualStyles::kFail);
        EXPECT_TRUE(IsAllWhite(unknown));
        EXPECT_EQ(desktop.CloseThemeData(theme), CVisualStyles::kOk);
    }
}

TEST_F(VisualStylesTest, ContentRectangleAndExtentAreEachOthersReverse)
{
    const CVisualStyles& desktop = CVisualStyles::Get();
    const Theme theme = desktop.OpenThemeData(m_panel, "BUTTON");
    wxBitmap bitmap = WhiteBitmap(wxSize(20, 20));
    wxMemoryDC dc(bitmap);
    const wxRect bounds(10, 10, 80, 30);
    wxRect content;
    ASSERT_EQ(desktop.GetThemeBackgroundContentRect(theme, dc, ThemePart::kPushButton, 1, bounds, &content),
              CVisualStyles::kOk);
    EXPECT_TRUE(bounds.Contains(content));
    EXPECT_LT(content.width, bounds.width);
    EXPECT_LT(content.height, bounds.height);
    wxRect extent;
    ASSERT_EQ(desktop.GetThemeBackgroundExtent(theme, dc, ThemePart::kPushButton, 1, content, &extent),
              CVisualStyles::kOk);
    EXPECT_EQ(extent, bounds);

    wxSize size;
    ASSERT_EQ(desktop.GetThemePartSize(theme, dc, ThemePart::kCheckBox, 1, &size), CVisualStyles::kOk);
    EXPECT_GT(size.x, 0);
    EXPECT_GT(size.y, 0);
    EXPECT_EQ(desktop.GetThemePartSize(theme, dc, ThemePart::kPushButton, 1, &size), CVisualStyles::kFail);
    EXPECT_EQ(desktop.GetThemeSysColor(theme, wxSYS_COLOUR_HIGHLIGHT),
              wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));
    EXPECT_EQ(desktop.GetThemeSysColor(theme, -1), *wxWHITE);
}

TEST_F(VisualStylesTest, ParentBackgroundFillsTheRectangleInTheParentsColour)
{
    m_panel->SetBackgroundColour(wxColour(10, 200, 30));
    wxWindow* child = new wxWindow(m_panel, wxID_ANY, wxPoint(0, 0), wxSize(30, 20));
    wxBitmap bitmap = WhiteBitmap(wxSize(30, 20));
    {
        wxMemoryDC dc(bitmap);
        const wxRect part(5, 5, 10, 10);
        EXPECT_EQ(CVisualStyles::Get().DrawThemeParentBackground(child, dc, &part), CVisualStyles::kOk);
    }
    const wxImage image = bitmap.ConvertToImage();
    EXPECT_EQ(image.GetGreen(7, 7), 200);
    EXPECT_EQ(image.GetRed(7, 7), 10);
    EXPECT_EQ(image.GetGreen(2, 2), 255);  // outside the rectangle
}

}  // namespace
