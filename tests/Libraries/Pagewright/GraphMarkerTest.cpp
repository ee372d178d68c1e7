#include "Pagewright/GraphMarker.h"
#include "Pagewright/Report.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphMarker, ReadsBothEndsOfTheLine)
{
    const struct {
        const char* line;
        const char* kind;
        int left, top, right, bottom;
        int column;
    } cases[] = {
        {"<!--INSERT GRAPH MARKER PRESSURE LOSS 100 900 1900 1700--!>", "PRESSURE LOSS", 100, 900, 1900, 1700, 2},
        {"<!--INSERT GRAPH MARKER PRESSURE LOSS 100 900 1900 1700-->", "PRESSURE LOSS", 100, 900, 1900, 1700, 2},
        {"  <!--INSERT GRAPH MARKER velocity 1 2 3 4 -->\r\n", "VELOCITY", 1, 2, 3, 4, 1},
        {"<!--INSERT GRAPH MARKER ERROR 7-->", "ERROR", 0, 0, 0, 7, 3},
        {"<!--INSERT GRAPH MARKER REYNOLDS-->", "REYNOLDS", 0, 0, 0, 0, 4},
        {"<!--INSERT GRAPH MARKER TEMPERATURE 1 2 3 4-->", "TEMPERATURE", 1, 2, 3, 4, -1},
    };
    for (const auto& c : cases) {
        CGraphMarker marker;
        ASSERT_TRUE(CGraphMarker::Parse(c.line, marker)) << c.line;
        EXPECT_EQ(marker.kind, c.kind) << c.line;
        EXPECT_EQ(marker.left, c.left) << c.line;
        EXPECT_EQ(marker.top, c.top) << c.line;
        EXPECT_EQ(marker.right, c.right) << c.line;
        EXPECT_EQ(marker.bottom, c.bottom) << c.line;
        EXPECT_EQ(marker.GetColumn(), c.column) << c.line;
    }
    CGraphMarker marker;
    for (const char* line : {"<!-- INSERT GRAPH MARKER ERROR 1 2 3 4-->", "<!--INSERT GRAPH MARKER ERROR 1 2 3 4",
                             "<text/>", "", "<!--INSERT GRAPH MARKER-->"})
        EXPECT_FALSE(CGraphMarker::Parse(line, marker)) << line;
}

TEST(GraphMarker, WrittenLineIsAWellFormedComment)
{
    CGraphMarker marker;
    ASSERT_TRUE(CGraphMarker::Parse("<!--INSERT GRAPH MARKER ERROR 100 900 1900 1700--!>", marker));
    const std::string line = marker.ToLine();
    EXPECT_EQ(line, "<!--INSERT GRAPH MARKER ERROR 100 900 1900 1700-->");
    CGraphMarker again;
    ASSERT_TRUE(CGraphMarker::Parse(line, again));
    EXPECT_EQ(again.ToLine(), line);

    // A template with the rewritten marker line and the chart after it loads; with the old
    // ending the comment would swallow the chart.
    const std::string chart = "<line x='1' y='2' x2='3' y2='4' color='#c80000' penwidth='5' />\n";
    CReport document;
    ASSERT_TRUE(document.LoadFromString("<report><page>\n" + line + "\n" + chart + "</page></report>"));
    EXPECT_EQ(document.GetTemplatePages()[0]->elements.size(), 1u);
    EXPECT_FALSE(document.LoadFromString("<report><page>\n<!--INSERT GRAPH MARKER ERROR 1 2 3 4--!>\n" + chart +
                                         "</page></report>"));
}

}  // namespace
