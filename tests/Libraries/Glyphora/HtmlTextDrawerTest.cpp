#include "Glyphora/HtmlTextDrawer.h"

#include "FixedWidthMeasurer.h"

#include <gtest/gtest.h>

namespace {

using SRect = CHtmlTextDrawer::SRect;

struct SLaidOut {
    std::vector<CHtmlTextDrawer::SLine> lines;
    std::vector<CHtmlTextDrawer::SFragment> fragments;
};

SLaidOut Lay(const std::string& markup, SRect rect = {0, 0, 100, 1000})
{
    CFixedWidthMeasurer measurer;
    CHtmlTextDrawer drawer(markup);
    drawer.Layout(measurer, rect, false);
    return {drawer.GetLines(), drawer.GetFragments()};
}

std::string TextOfLine(const SLaidOut& layout, std::size_t line)
{
    std::string text;
    for (const auto& fragment : layout.fragments)
        if (fragment.line == line)
            text += fragment.text;
    return text;
}

TEST(HtmlTextDrawer, BreaksMakeAnEmptyLineAsHighAsTheOneBefore)
{
    const SLaidOut layout = Lay("a<br><br>b");
    ASSERT_EQ(layout.lines.size(), 3u);
    EXPECT_EQ(TextOfLine(layout, 0), "a");
    EXPECT_EQ(TextOfLine(layout, 1), "");
    EXPECT_EQ(TextOfLine(layout, 2), "b");
    EXPECT_EQ(layout.lines[1].top, 24);
    EXPECT_EQ(layout.lines[2].top, 48);
    EXPECT_EQ(layout.lines[2].baseline, 48 + 18);
}

TEST(HtmlTextDrawer, LineFeedsAreBreaksAndCarriageReturnsVanish)
{
    const SLaidOut layout = Lay("a\r\nb");
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(TextOfLine(layout, 1), "b");
}

TEST(HtmlTextDrawer, WrapsWordsAndSplitsAWordWiderThanTheLine)
{
    // 100 units hold ten characters.
    SLaidOut layout = Lay("one two three four");
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(TextOfLine(layout, 0), "one two ");
    EXPECT_EQ(TextOfLine(layout, 1), "three four");

    layout = Lay("abcdefghijklmnopqrstuvwxy");
    ASSERT_EQ(layout.lines.size(), 3u);
    EXPECT_EQ(TextOfLine(layout, 0), "abcdefghij");
    EXPECT_EQ(TextOfLine(layout, 1), "klmnopqrst");
    EXPECT_EQ(TextOfLine(layout, 2), "uvwxy");

    // Narrower than one character: still one character a line, and never half a UTF-8 one.
    layout = Lay("\xC3\xA4x\xC3\xB6", {0, 0, 5, 1000});
    ASSERT_EQ(layout.lines.size(), 3u);
    EXPECT_EQ(TextOfLine(layout, 0), "\xC3\xA4");
    EXPECT_EQ(TextOfLine(layout, 2), "\xC3\xB6");
}

TEST(HtmlTextDrawer, FontTagsSetSizeColourAndFace)
{
    struct SCase {
        const char* markup;
        int size;
        std::uint32_t color;
        const char* face;
    };
    const SCase cases[] = {
        {"<font size='3'>x</font>", 12, 0, "Arial"},
        {"<font size='1'>x</font>", 8, 0, "Arial"},
        {"<font size='7'>x</font>", 26, 0, "Arial"},
        {"<font size='14pt'>x</font>", 14, 0, "Arial"},
        {"<font size='9'>x</font>", 10, 0, "Arial"},  // not a size: the base size stays
        {"<font color='#FF0000'>x</font>", 10, 0x0000FF, "Arial"},
        {"<font color='red'>x</font>", 10, 0, "Arial"},
        {"<FONT FACE='Courier'>x</FONT>", 10, 0, "courier"},  // values are lower-cased with the tag
        {"<font face='x'>x</font>", 10, 0, "Arial"},          // a one-letter face is no face
    };
    for (const SCase& c : cases) {
        CFixedWidthMeasurer measurer;
        CHtmlTextDrawer drawer(c.markup);
        SHtmlFont base;
        base.size = 10;
        drawer.SetBaseFont(base);
        SRect rect{0, 0, 100, 100};
        drawer.Layout(measurer, rect, false);
        ASSERT_EQ(drawer.GetFragments().size(), 1u) << c.markup;
        const auto& fragment = drawer.GetFragments()[0];
        EXPECT_EQ(fragment.font.size, c.size) << c.markup;
        EXPECT_TRUE(fragment.font.sizeInPoints) << c.markup;
        EXPECT_EQ(fragment.color, c.color) << c.markup;
        EXPECT_EQ(fragment.font.face, c.face) << c.markup;
    }
}

TEST(HtmlTextDrawer, FontTagResetsStylesAndItsEndRestoresThem)
{
    const SLaidOut layout = Lay("<b><font face='Courier New'>x</font>y</b>z");
    ASSERT_EQ(layout.fragments.size(), 3u);
    EXPECT_EQ(layout.fragments[0].font.weight, 400);
    EXPECT_EQ(layout.fragments[0].font.face, "courier new");
    EXPECT_EQ(layout.fragments[1].font.weight, 700);
    EXPECT_EQ(layout.fragments[1].font.face, "Arial");
    EXPECT_EQ(layout.fragments[2].font.weight, 400);
}

TEST(HtmlTextDrawer, StyleTagsAreCaseBlindAndUnmatchedClosingTagsChangeNothing)
{
    const SLaidOut layout = Lay("</b><B>a</B><i>b</i><u>c</u><s>d</s>e");
    ASSERT_EQ(layout.fragments.size(), 5u);
    EXPECT_EQ(layout.fragments[0].font.weight, 700);
    EXPECT_TRUE(layout.fragments[1].font.italic);
    EXPECT_TRUE(layout.fragments[2].font.underline);
    EXPECT_TRUE(layout.fragments[3].font.strikeOut);
    const SHtmlFont plain = layout.fragments[4].font;
    EXPECT_FALSE(plain.italic || plain.underline || plain.strikeOut || plain.weight != 400);
    // The italic b overhangs: c starts 3 units later.
    EXPECT_EQ(layout.fragments[2].x, 23);
}

TEST(HtmlTextDrawer, ParagraphsAlignTheirLines)
{
    const SLaidOut layout = Lay("<p align='center'>ab</p><p align='right'>c</p>d");
    std::vector<int> lefts;
    for (const auto& fragment : layout.fragments)
        lefts.push_back(fragment.x);
    EXPECT_EQ(lefts, (std::vector<int>{40, 90, 0}));
}

TEST(HtmlTextDrawer, UnterminatedTagIsText)
{
    const SLaidOut layout = Lay("a<b c>d");
    EXPECT_EQ(TextOfLine(layout, 0), "ad");
    EXPECT_EQ(TextOfLine(Lay("a<b"), 0), "a<b");
    EXPECT_EQ(TextOfLine(Lay("x>y<b>z"), 0), "x>y<b>z");
}

TEST(HtmlTextDrawer, MeasuringGivesTheSizeOfTheText)
{
    CFixedWidthMeasurer measurer;
    CHtmlTextDrawer drawer("one<br>three<br><font size='1'>x</font>");
    SRect rect;
    drawer.Layout(measurer, rect, true);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 50);
    EXPECT_EQ(rect.bottom, 24 + 24 + 16);
}

TEST(HtmlTextDrawer, YAxisPointingUpLaysLinesDownwards)
{
    CFixedWidthMeasurer measurer;
    CHtmlTextDrawer drawer("a<br>b");
    drawer.SetYDirection(-1);
    SRect rect{0, 0, 100, -100};
    drawer.Layout(measurer, rect, false);
    ASSERT_EQ(drawer.GetLines().size(), 2u);
    EXPECT_EQ(drawer.GetLines()[1].top, -24);
    EXPECT_EQ(drawer.GetLines()[1].baseline, -42);
}

// A measurer that sets lines as high as the font's size, baseline at their foot, as a PDF page
// does: the lines follow its line box, the tallest font of a line deciding, while each fragment
// keeps the font's own ascent and descent for drawing.
TEST(HtmlTextDrawer, LinesFollowTheMeasurersLineBox)
{
    class CSizeHighMeasurer : public CFixedWidthMeasurer {
    public:
        SLineBox LineBox(const SHtmlFont& font, const STextMetrics& /*metrics*/) override
        {
            return {font.size, font.size};
        }
    };
    CSizeHighMeasurer measurer;
    CHtmlTextDrawer drawer("a<br>b <font size='20pt'>c</font><br><br>d");
    SHtmlFont base;
    base.size = 12;
    drawer.SetBaseFont(base);
    SRect rect{0, 0, 100, 1000};
    drawer.Layout(measurer, rect, false);
    const auto& lines = drawer.GetLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].bottom, 12);
    EXPECT_EQ(lines[0].baseline, 12);
    EXPECT_EQ(lines[1].bottom, 32);
    EXPECT_EQ(lines[1].baseline, 32);
    EXPECT_EQ(lines[2].bottom, 52);
    EXPECT_EQ(lines[3].baseline, 64);
    EXPECT_EQ(drawer.GetFragments().front().ascent, 18);
}

TEST(HtmlTextDrawer, LinksKeepTheirWordsAndColour)
{
    CFixedWidthMeasurer measurer;
    CHtmlTextDrawer drawer("go <a href='http://x'>here now</a>.");
    SRect rect{0, 0, 1000, 100};
    drawer.Layout(measurer, rect, false);
    ASSERT_EQ(drawer.GetLinkCount(), 1);
    EXPECT_EQ(drawer.GetLink(0).target, "http://x");
    EXPECT_EQ(drawer.GetLink(0).region.size(), 2u);
    EXPECT_EQ(drawer.HitTestLink(35, 10), 0);
    EXPECT_EQ(drawer.HitTestLink(5, 10), -1);
    EXPECT_TRUE(drawer.GetLink(1).target.empty());
    EXPECT_EQ(drawer.GetFragments()[1].color, CHtmlTextDrawer::kDefaultLinkColor);
    EXPECT_TRUE(drawer.GetFragments()[1].font.underline);
    EXPECT_EQ(drawer.GetFragments()[3].color, 0u);
}

TEST(HtmlTextDrawer, ColourTextReadsHexPairs)
{
    EXPECT_EQ(CHtmlTextDrawer::ParseColor("#FF8000"), 0x0080FFu);
    EXPECT_EQ(CHtmlTextDrawer::ParseColor(" #ff8000 "), 0x0080FFu);
    EXPECT_EQ(CHtmlTextDrawer::ParseColor("#F80"), 0u);
    // A stray high digit counts 0, a stray low one is skipped.
    EXPECT_EQ(CHtmlTextDrawer::ParseColor("#g1f0f" "z"), 0x0FF001u);
}

}  // namespace
