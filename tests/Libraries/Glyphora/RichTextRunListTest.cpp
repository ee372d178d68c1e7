#include "Glyphora/RichTextRunList.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Texts(const CRichTextRunList& list)
{
    std::vector<std::string> texts;
    for (const CRichTextRun& run : list.GetRuns())
        texts.push_back(run.text);
    return texts;
}

CRichTextRunList Parsed(const std::string& markup)
{
    CRichTextRunList list;
    list.GetTemplate().face = "Arial";
    list.GetTemplate().size = 10;
    list.Parse(markup);
    return list;
}

// Every character 10 wide, every run 12 high.
CRichTextRunList::SExtent Measure(const std::string& text, const CRichTextRun&)
{
    return {static_cast<int>(text.size()) * 10, 12};
}

TEST(RichTextRunList, BreakEndsARun)
{
    const CRichTextRunList list = Parsed("a<br>b");
    ASSERT_EQ(Texts(list), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(list.GetRuns()[0].lineBreak);
    EXPECT_FALSE(list.GetRuns()[1].lineBreak);
}

TEST(RichTextRunList, EmptyRunsGoAndHandTheirBreakBack)
{
    const CRichTextRunList list = Parsed("<b></b>x");
    ASSERT_EQ(Texts(list), (std::vector<std::string>{"x"}));
    EXPECT_EQ(list.GetRuns()[0].bold, 0);

    // The break of an empty bold run goes to "a"; the second break is an empty line and stays.
    const CRichTextRunList lines = Parsed("a<b><br></b><br>c");
    ASSERT_EQ(Texts(lines), (std::vector<std::string>{"a", "", "c"}));
    EXPECT_TRUE(lines.GetRuns()[0].lineBreak);
    EXPECT_TRUE(lines.GetRuns()[1].lineBreak);
}

TEST(RichTextRunList, StyleTags)
{
    const CRichTextRunList list = Parsed("<B>b</b><i>i</i><u>u</u><s>s</s>");
    ASSERT_EQ(Texts(list), (std::vector<std::string>{"b", "i", "u", "s"}));
    EXPECT_EQ(list.GetRuns()[0].bold, 1);
    EXPECT_EQ(list.GetRuns()[1].italic, 1);
    EXPECT_EQ(list.GetRuns()[2].underline, 1);
    const CRichTextRun& plain = list.GetRuns()[3];
    EXPECT_EQ(plain.bold + plain.italic + plain.underline, 0);
}

TEST(RichTextRunList, FontTagAndItsEnd)
{
    const CRichTextRunList list = Parsed("<font size='14pt' face='Courier'>x</font>y<font size='3'>z</font>");
    ASSERT_EQ(Texts(list), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(list.GetRuns()[0].size, 14);
    EXPECT_EQ(list.GetRuns()[0].face, "Courier");
    EXPECT_EQ(list.GetRuns()[1].size, 10);
    EXPECT_EQ(list.GetRuns()[1].face, "Arial");
    EXPECT_EQ(list.GetRuns()[2].size, 12);
}

TEST(RichTextRunList, UnmatchedFontEndFallsBackToTheTemplate)
{
    const CRichTextRunList list = Parsed("a</font>b");
    ASSERT_EQ(Texts(list), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list.GetRuns()[1].face, "Arial");
    EXPECT_EQ(list.GetRuns()[1].size, 10);
}

TEST(RichTextRunList, CentredParagraph)
{
    CRichTextRunList list = Parsed("<p align='center'>x</p>y");
    ASSERT_EQ(Texts(list), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(list.GetRuns()[0].alignment, CRichTextRun::kAlignCenter);
    EXPECT_TRUE(list.GetRuns()[0].lineBreak);
    EXPECT_EQ(list.GetRuns()[1].alignment, CRichTextRun::kAlignLeft);

    ASSERT_TRUE(list.Layout(100, Measure));
    const CRichTextRun& x = list.GetRuns()[0];
    const CRichTextRun& y = list.GetRuns()[1];
    EXPECT_EQ(x.lineIndex, 0);
    EXPECT_EQ(x.x, 45);
    EXPECT_EQ(x.lineBottom, 12);
    EXPECT_EQ(y.lineIndex, 1);
    EXPECT_EQ(y.x, 0);
    EXPECT_EQ(y.lineBottom, 24);

    EXPECT_EQ(Parsed("<p align=\"RIGHT\">x").GetRuns()[0].alignment, CRichTextRun::kAlignRight);
}

TEST(RichTextRunList, SplitWordsKeepsLeadingBlanksAndMovesTheBreak)
{
    CRichTextRunList list = Parsed("one two three<br>x");
    list.SplitWords();
    ASSERT_EQ(Texts(list), (std::vector<std::string>{"one", " two", " three", "x"}));
    EXPECT_FALSE(list.GetRuns()[0].lineBreak);
    EXPECT_TRUE(list.GetRuns()[2].lineBreak);
}

TEST(RichTextRunList, LayoutWrapsTrimsAndAligns)
{
    CRichTextRunList list = Parsed("<p align='right'>aa bb cc</p>");
    list.SplitWords();
    ASSERT_TRUE(list.Layout(55, Measure));
    // "aa bb" fills 50 of 55; " cc" wraps and loses its leading blank.
    ASSERT_EQ(Texts(list), (std::vector<std::string>{"aa", " bb", "cc"}));
    EXPECT_EQ(list.GetRuns()[0].x, 5);
    EXPECT_EQ(list.GetRuns()[1].x, 25);
    EXPECT_EQ(list.GetRuns()[2].lineIndex, 1);
    EXPECT_EQ(list.GetRuns()[2].x, 35);
    EXPECT_EQ(list.GetRuns()[2].lineBottom, 24);

    // A word wider than the line stays on its own line.
    CRichTextRunList wide = Parsed("abcdefgh");
    ASSERT_TRUE(wide.Layout(30, Measure));
    EXPECT_EQ(wide.GetRuns()[0].lineIndex, 0);

    EXPECT_FALSE(wide.Layout(30, CRichTextRunList::MeasureFunction()));
}

}  // namespace
