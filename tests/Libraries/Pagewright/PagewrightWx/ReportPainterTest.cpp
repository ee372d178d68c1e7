#include "Pagewright/Report.h"
#include "PagewrightWx/ReportPainter.h"
#include "RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::string Points(const IReportCanvas::Polygon& points)
{
    std::string text;
    for (const SReportPoint& point : points)
        text += (text.empty() ? "" : " ") + std::to_string(point.x) + "," + std::to_string(point.y);
    return text;
}

// What html text without a colour of its own is drawn in, as the desktop's text colour.
constexpr ReportColor kTextColor = 0x00336699;

// The document of one page with borders 100 (left) and 50 (top) holding the elements.
CRecordingCanvas DrawOnePage(const std::string& elements, double zoom, CReport& document, bool markers = false,
                             bool outline = false)
{
    EXPECT_TRUE(document.LoadFromString(R"(<report><page width="1000" height="2000" leftborder="100" topborder="50"
        backgroundcolor="#102030">)" + elements + R"(</page>
        <font fontname="F" typeface="Liberation Sans" fontsize="40"/>
        <font fontname="P" typeface="Liberation Serif" fontsize="12pt" isbold="TRUE"/></report>)"));
    document.Paginate();
    CRecordingCanvas canvas;
    CReportPainter(canvas, kTextColor).DrawPage(document, 0, zoom, markers, outline);
    return canvas;
}

TEST(ReportPainter, PageBackgroundThenElementsAtBordersAndZoom)
{
    struct SCase {
        double zoom;
        const char* background;
        const char* line;
        int pen;
    };
    // Line from (10, 20) to (110, 20), pen 3: the borders move it by (100, 50), y points up and
    // rounds half up.
    const SCase cases[] = {
        {1.0, "0,0 1000,0 1000,-2000 0,-2000", "110,-69 210,-69", 3},
        {2.0, "0,0 2000,0 2000,-4000 0,-4000", "220,-139 420,-139", 6},
        {0.2, "0,0 200,0 200,-400 0,-400", "22,-13 42,-13", 1},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.zoom);
        CReport document;
        const CRecordingCanvas canvas =
            DrawOnePage(R"(<line x="10" y="20" x2="110" y2="20" penwidth="3" color="#ff0000"/>)", c.zoom, document);
        ASSERT_EQ(canvas.calls.size(), 2u);
        EXPECT_EQ(canvas.calls[0].kind, "fill");
        EXPECT_EQ(Points(canvas.calls[0].points), c.background);
        EXPECT_EQ(canvas.calls[0].color, 0x302010u);
        EXPECT_EQ(canvas.calls[1].kind, "line");
        EXPECT_EQ(Points(canvas.calls[1].points), c.line);
        EXPECT_EQ(canvas.calls[1].penWidth, c.pen);
        EXPECT_EQ(canvas.calls[1].color, 0x0000FFu);
    }
}

TEST(ReportPainter, RectangleIsFilledThenOutlinedClosed)
{
    CReport document;
    const CRecordingCanvas canvas = DrawOnePage(
        R"(<rectangle x="0" y="0" width="200" height="100" borderwidth="4" bordercolor="#00ff00" fillcolor="#0000ff"/>
           <rectangle x="0" y="0" width="200" height="100" fillcolor="transparent" angle="900"/>
           <rectangle x="0" y="0" width="0" height="100"/>)",
        0.5, document);
    const auto fills = canvas.Of("fill");
    const auto lines = canvas.Of("line");
    ASSERT_EQ(fills.size(), 2u);  // the page and the first rectangle
    EXPECT_EQ(Points(fills[1].points), "50,-24 150,-24 150,-74 50,-74");
    EXPECT_EQ(fills[1].color, 0xFF0000u);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].closed);
    EXPECT_EQ(lines[0].penWidth, 2);
    // Turned by 90 degrees counter-clockwise around its top-left corner, as on paper.
    EXPECT_EQ(Points(lines[1].points), "50,-24 50,75 100,75 100,-24");
    EXPECT_EQ(lines[1].penWidth, 1);
}

TEST(ReportPainter, TextIsClippedToItsTurnedBoxAndTurnsWithIt)
{
    CReport document;
    const CRecordingCanvas canvas = DrawOnePage(
        R"(<text x="0" y="0" width="300" height="100" fontname="F" angle="900" align="right"
                 color="#0000ff">ab</text>)",
        1.0, document);
    const auto clips = canvas.Of("clip");
    const auto texts = canvas.Of("text");
    ASSERT_EQ(clips.size(), 1u);
    // The box from (100, -50) to (400, -150), turned counter-clockwise around its top-left corner.
    EXPECT_EQ(Points(clips[0].points), "100,-49 100,251 200,251 200,-49");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].angle, 90.0);
    EXPECT_EQ(texts[0].font.height, 40);
    EXPECT_EQ(texts[0].font.face, "Liberation Sans");
    EXPECT_EQ(texts[0].color, 0xFF0000u);
    // Right-aligned: 280 along the turned top edge, which now points up.
    EXPECT_EQ(Points(texts[0].points), "100,231");
    EXPECT_EQ(canvas.calls.back().kind, "unclip");
}

TEST(ReportPainter, MultilineTextWrapsAtBlanksAndLineFeeds)
{
    CReport document;
    const CRecordingCanvas canvas = DrawOnePage(
        R"(<text x="0" y="0" width="100" height="400" fontname="P" multiline="TRUE" align="center">aaa bbb ccc\nd</text>
           <text x="0" y="500" width="100" height="400" fontname="P">aaa bbb ccc</text>)",
        1.0, document);
    const auto texts = canvas.Of("text");
    ASSERT_EQ(texts.size(), 4u);
    // 12 points of character height: 12 * 254 / 72.
    const int height = static_cast<int>(std::lround(12 * 254.0 / 72));
    EXPECT_EQ(texts[0].font.height, -height);
    EXPECT_EQ(texts[0].font.weight, 700);
    const char* expected[] = {"aaa bbb", "ccc", "d"};
    const int widths[] = {70, 30, 10};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(texts[i].text, expected[i]);
        EXPECT_EQ(Points(texts[i].points),
                  std::to_string(100 + (100 - widths[i]) / 2) + "," + std::to_string(-49 - i * height));
    }
    EXPECT_EQ(texts[3].text, "aaa bbb ccc");
}

// A text that would not fit its box is set smaller until its lines do (every character is 10
// units wide here, whatever the font, so only the height can gain), and no smaller than a quarter.
TEST(ReportPainter, ShrinkToFitSetsTheTextSmallerUntilItsLinesFit)
{
    CReport document;
    const CRecordingCanvas canvas = DrawOnePage(
        R"(<text x="0" y="0" width="100" height="100" fontname="F" multiline="TRUE" shrinktofit="TRUE">aaa bbb ccc ddd eee</text>
           <text x="0" y="200" width="100" height="100" fontname="F" multiline="TRUE">aaa bbb ccc ddd eee</text>
           <text x="0" y="400" width="100" height="100" fontname="F" shrinktofit="TRUE">aaaaaaaaaaaa</text>
           <text x="0" y="600" width="100" height="100" fontname="F" multiline="TRUE" shrinktofit="TRUE">aaa bbb</text>)",
        1.0, document);
    const auto texts = canvas.Of("text");
    ASSERT_EQ(texts.size(), 8u);
    // Three lines of 40 reach 120 and the descent of the last (a fifth here) below the top: at
    // 36 still 115, at 32 102, at 29 they fit.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(texts[i].font.height, 29) << i;
        EXPECT_EQ(texts[i].points[0].y, texts[0].points[0].y - i * 29) << i;
    }
    EXPECT_EQ(texts[2].text, "eee");
    for (int i = 3; i < 6; ++i)
        EXPECT_EQ(texts[i].font.height, 40) << i;
    // A word wider than the box never fits: it stops at a quarter of the size.
    EXPECT_EQ(texts[6].text, "aaaaaaaaaaaa");
    EXPECT_GE(texts[6].font.height * 4, 40);
    EXPECT_LT(texts[6].font.height, 13);
    // What fits keeps its size.
    EXPECT_EQ(texts[7].font.height, 40);
}

// Only rows that reach into the page (2000 high, 50 of it above y 0) are drawn, each empty one
// with its border; a table billions of rows tall costs no more than its page.
TEST(ReportPainter, TableRowsStopAtTheEdgesOfThePage)
{
    struct SCase {
        const char* y;
        const char* height;
        const char* rowHeight;
        std::size_t borders;
    };
    const SCase cases[] = {
        {"1900", "2147483647", "1", 50},
        {"1900", "3000", "10", 5},
        {"-100", "100", "10", 5},  // five rows lie wholly above the page
        {"2000", "100", "10", 0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.y + std::string(" ") + c.height + " " + c.rowHeight);
        CReport document;
        const CRecordingCanvas canvas =
            DrawOnePage(std::string(R"(<table x="0" y=")") + c.y + R"(" width="400" height=")" + c.height +
                            R"(" rowheight=")" + c.rowHeight + R"(" name="T">
                <column name="A" width="400" showborderalways="TRUE" borderthickness="0;1;0;0"/></table>)",
                        1.0, document);
        EXPECT_EQ(canvas.Of("line").size(), c.borders);
    }
}

TEST(ReportPainter, HiddenElementsAndUnknownFonts)
{
    CReport document;
    document.LoadFromString(R"(<report><page><text x="0" y="0" width="100" height="100" displaycondition="SHOW">x</text>
        <text x="0" y="0" width="100" height="100" fontname="NONE">y</text></page></report>)");
    document.Paginate();
    CRecordingCanvas canvas;
    CReportPainter(canvas, kTextColor).DrawPage(document, 0, 1.0);
    auto texts = canvas.Of("text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "y");
    EXPECT_EQ(texts[0].font.height, -static_cast<int>(std::lround(12 * 254.0 / 72)));

    document.SetVariable("SHOW", "1");
    canvas.calls.clear();
    CReportPainter(canvas, kTextColor).DrawPage(document, 0, 1.0);
    EXPECT_EQ(canvas.Of("text").size(), 2u);

    canvas.calls.clear();
    CReportPainter(canvas, kTextColor).DrawPage(document, 1, 1.0);
    CReportPainter(canvas, kTextColor).DrawPage(document, -1, 1.0);
    EXPECT_TRUE(canvas.calls.empty());
}

TEST(ReportPainter, TableCellsBordersAndRows)
{
    CReport document;
    ASSERT_TRUE(document.LoadFromString(R"(<report><page>
        <table x="100" y="100" width="300" height="70" rowheight="30" multipage="TRUE" name="T">
          <column name="A" width="100" borderthickness="2;1;0;3" bordercolor="#0000ff" cellspacing="5;10;0;0">
            <text fontname="F">$COLUMN_VARIABLE</text></column>
          <column name="B" width="50" showborderalways="TRUE" borderthickness="1;1;1;1"><text></text></column>
        </table></page><font fontname="F" typeface="Liberation Sans" fontsize="20"/></report>)"));
    for (int row = 1; row <= 3; ++row)
        document.SetVariable("T.A." + std::to_string(row), "r" + std::to_string(row));
    document.Paginate();
    ASSERT_EQ(document.GetPageCount(), 2);

    CRecordingCanvas canvas;
    CReportPainter(canvas, kTextColor).DrawPage(document, 1, 2.0);
    const auto texts = canvas.Of("text");
    ASSERT_EQ(texts.size(), 1u);  // two rows a page: the second page shows row 3 only with text
    EXPECT_EQ(texts[0].text, "r3");
    // Inner box of the cell: left 100 + 10, top 100 + 5.
    EXPECT_EQ(Points(texts[0].points), "220,-209");
    EXPECT_EQ(texts[0].font.height, 40);

    const auto lines = canvas.Of("line");
    // Column A, rows 3 and 4: a text prototype that is not empty draws left, right (3 wide) and
    // top, whether its row has a value or not. Column B shows its four borders always.
    ASSERT_EQ(lines.size(), 6u + 8u);
    EXPECT_EQ(Points(lines[0].points), "200,-259 200,-199");
    EXPECT_EQ(lines[0].penWidth, 1);  // not zoomed
    EXPECT_EQ(Points(lines[1].points), "400,-259 400,-199");
    EXPECT_EQ(lines[1].penWidth, 3);
    EXPECT_EQ(Points(lines[2].points), "200,-199 400,-199");
    EXPECT_EQ(lines[2].penWidth, 2);
    EXPECT_EQ(lines[0].color, 0xFF0000u);
}

TEST(ReportPainter, HtmlTextTakesTheDesktopTextColourUnlessItsMarkupSaysOtherwise)
{
    CReport document;
    const CRecordingCanvas canvas = DrawOnePage(
        R"(<htmltext x="0" y="0" width="500" height="200" fontname="F">)"
        R"(plain &lt;font color='#ff0000'&gt;red&lt;/font&gt;</htmltext>)",
        1.0, document);
    const auto texts = canvas.Of("text");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "plain ");
    EXPECT_EQ(texts[0].color, kTextColor);
    EXPECT_EQ(texts[0].font.height, 40);
    EXPECT_EQ(Points(texts[0].points), "100,-49");
    EXPECT_EQ(texts[1].text, "red");
    EXPECT_EQ(texts[1].color, 0x0000FFu);
    EXPECT_EQ(Points(texts[1].points), "160,-49");
    const auto clips = canvas.Of("clip");
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(Points(clips[0].points), "100,-49 600,-49 600,-249 100,-249");
}

// Markers: a pixel and a square of 100 units around each anchor in the marker colour; outline:
// the element's region framed five pixels thick in its outline colour.
TEST(ReportPainter, MarkersAndOutlineFollowTheElementsShape)
{
    struct SCase {
        const char* element;
        const char* anchors;
        std::vector<const char*> regions;
    };
    const SCase cases[] = {
        {R"(<line x="0" y="0" x2="200" y2="0" penwidth="30"/>)", "100,-49 300,-49",
         {"85,-64 315,-64 315,-34 85,-34"}},
        // A short pen still gives a band five units to each side; a sloped line's band leans.
        {R"(<line x="0" y="0" x2="100" y2="200" penwidth="2"/>)", "100,-49 200,-249",
         {"95,-44 105,-44 205,-254 195,-254"}},
        {R"(<text x="0" y="0" width="300" height="100" fontname="F">t</text>)",
         "100,-149 100,-49 400,-149 400,-49", {"100,-49 400,-49 400,-149 100,-149"}},
        {R"(<rectangle x="0" y="0" width="300" height="100" fillcolor="#ffffff"/>)",
         "100,-49 400,-49 400,-149 100,-149", {"100,-49 400,-49 400,-149 100,-149"}},
        // A transparent rectangle is hit only along its edges.
        {R"(<rectangle x="0" y="0" width="300" height="100" fillcolor="transparent" borderwidth="20"/>)",
         "100,-49 400,-49 400,-149 100,-149",
         {"90,-59 410,-59 410,-39 90,-39", "410,-39 390,-39 390,-159 410,-159",
          "410,-159 90,-159 90,-139 410,-139", "110,-159 90,-159 90,-39 110,-39"}},
        {R"(<htmltext x="0" y="0" width="300" height="100" fontname="F">h</htmltext>)",
         "100,-49 100,-149 400,-49 400,-149", {"100,-49 400,-49 400,-149 100,-149"}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.element);
        CReport document;
        const CRecordingCanvas plain = DrawOnePage(c.element, 1.0, document);
        EXPECT_TRUE(plain.Of("pixel").empty());
        EXPECT_TRUE(plain.Of("frame").empty());

        CReport marked;
        const CRecordingCanvas canvas = DrawOnePage(c.element, 1.0, marked, true, true);
        const auto pixels = canvas.Of("pixel");
        std::string anchors;
        for (const auto& pixel : pixels) {
            EXPECT_EQ(pixel.color, 0x1E1EC8u);
            anchors += (anchors.empty() ? "" : " ") + Points(pixel.points);
        }
        EXPECT_EQ(anchors, c.anchors);
        std::size_t squares = 0;
        for (const auto& line : canvas.Of("line")) {
            if (line.color != 0x1E1EC8u)
                continue;
            ASSERT_LT(squares, pixels.size());
            const SReportPoint anchor = pixels[squares].points[0];
            EXPECT_EQ(Points(line.points), Points({{anchor.x - 50, anchor.y - 50}, {anchor.x + 50, anchor.y - 50},
                                                   {anchor.x + 50, anchor.y + 50}, {anchor.x - 50, anchor.y + 50}}));
            EXPECT_TRUE(line.closed);
            ++squares;
        }
        EXPECT_EQ(squares, pixels.size());
        const auto frames = canvas.Of("frame");
        ASSERT_EQ(frames.size(), c.regions.size());
        for (std::size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(Points(frames[i].points), c.regions[i]) << i;
            EXPECT_EQ(frames[i].color, 0x4599FFu);
            EXPECT_EQ(frames[i].penWidth, 5);
        }
    }
}

// Loading an element keeps its region at zoom 1 as its hit region.
TEST(ReportPainter, LoadedElementsKeepTheirRegionAtZoomOne)
{
    CReport document;
    DrawOnePage(R"(<line x="0" y="0" x2="200" y2="0" penwidth="30"/>)", 2.0, document);
    const CReportPage* page = document.GetPage(0);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->elements.size(), 1u);
    const ReportRegion& region = page->elements[0]->hitRegion;
    ASSERT_EQ(region.size(), 1u);
    EXPECT_EQ(Points(region[0]), "85,-64 315,-64 315,-34 85,-34");
}

}  // namespace
