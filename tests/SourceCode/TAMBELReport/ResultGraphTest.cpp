// The curve chart: golden mark-up of the four kinds, the layout of the plot, ticks, label digits,
// points that are no numbers, texts with mark-up characters, and graph markers in templates.
#include "TAMBEL/Report/ResultGraph.h"

#include "Pagewright/Report.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

CUnit Unit(const std::string& name, double factor)
{
    CUnit unit;
    unit.Name = name;
    unit.ConversionFactor = factor;
    unit.ConversionFlags = UNIT_LINEAR;
    return unit;
}

// Three points: flow 10, 20, 40 m3/h; velocity, pressure loss (bar), error, Reynolds number.
CResultItem Row(const std::string& flowUnit = "m3/h")
{
    CResultItem row;
    row.FlowUnit = Unit(flowUnit, 1.0);
    row.VelocityUnit = Unit("m/s", 1.0);
    row.PressureUnit = Unit("mbar", 0.001);
    row.AddPoint({10.0, 1.0, 0.002, 1.5, 20000.0});
    row.AddPoint({20.0, 2.0, 0.008, 0.75, 40000.0});
    row.AddPoint({40.0, 4.0, 0.032, 0.75, 80000.0});
    return row;
}

const SGraphRect kPlot = {100, 900, 1900, 1700};

std::string Line(int x, int y, int x2, int y2, const char* color, int pen)
{
    char text[200];
    std::snprintf(text, sizeof text, "<line x='%d' y='%d' x2='%d' y2='%d' color='%s' penwidth='%d' />\n", x, y, x2, y2,
                  color, pen);
    return text;
}

std::string Text(int x, int y, int width, const char* align, const std::string& content, const char* flags = "")
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "<text x='%d' y='%d' width='%d' height='100' color='#000000' fontname='Axis' align='%s'%s>", x, y,
                  width, align, flags);
    return text + content + "</text>\n";
}

struct KindCase {
    int column;
    std::string caption;
    // Layout and the y values as they map, with their labels and unit.
    int innerLeft;
    int yTop, yMid, yBottom;  // rows of the three y ticks
    std::string yLabels[3];
    bool yMaxExtra;  // ymax is no tick value: one more grid line and label
    std::string yUnit;
    int curve[3];  // y of the three points
};

// Flows 10, 20, 40: with three points both steps are v[2] - v[1], so the ticks are the points'
// own flows, all three major: X(10) = 200, X(20) = 200 + 1580 / 30 * 10 = 726, X(40) = 1780.
std::string Golden(const KindCase& k)
{
    const int left = k.innerLeft;
    const double scale = (1780.0 - left) / 30.0;
    const int xs[3] = {left, static_cast<int>(left + scale * 10), 1780};
    std::string m;
    for (int i = 0; i < 3; ++i)
        m += Line(xs[i], 1600, xs[i], 950, "#c8c8c8", 3);
    const int ys[3] = {k.yTop, k.yMid, k.yBottom};
    for (int i = 0; i < 3; ++i)
        m += Line(left, ys[i], 1780, ys[i], "#c8c8c8", 3);
    if (k.yMaxExtra)
        m += Line(left, 950, 1780, 950, "#c8c8c8", 3);
    m += Line(left - 20, 1600, 1780, 1600, "#000000", 2);
    const char* xLabels[3] = {"10.0", "20.0", "40.0"};
    for (int i = 0; i < 3; ++i) {
        m += Text(xs[i] - 100, 1625, 200, "CENTER", xLabels[i]);
        m += Line(xs[i], 1600, xs[i], 1620, "#000000", 0);
    }
    m += Text(1700, 1587, 200, "RIGHT", "[m3/h]");
    // The caption wraps in its box and is set smaller where its lines would not fit.
    m += Text(110, 1660, 1780, "CENTER", k.caption, " multiline='TRUE' shrinktofit='TRUE'");
    m += Line(left, 1620, left, 950, "#000000", 2);
    for (int i = 0; i < 3; ++i) {
        m += Text(left - 225, ys[i] - 13, 200, "RIGHT", k.yLabels[i]);
        m += Line(left, ys[i], left - 20, ys[i], "#000000", 0);
    }
    if (k.yMaxExtra) {
        m += Text(left - 225, 937, 200, "RIGHT", "2.0");
        m += Line(left, 950, left - 20, 950, "#000000", 0);
    }
    if (!k.yUnit.empty())
        m += Text(left - 100, 900, 200, "CENTER", "[" + k.yUnit + "]");
    for (int i = 1; i < 3; ++i)
        m += Line(xs[i], k.curve[i], xs[i - 1], k.curve[i - 1], "#c80000", 5);
    return m;
}

}  // namespace

// Velocity 1, 2, 4 (even for three points): ticks at the values, 1 at the bottom, 4 at the top.
// Pressure loss 2, 8, 32 mbar. Errors all positive: the range becomes 0 .. 2 and ticks stay the
// points' own values. Reynolds numbers: 6 digits and a wider left margin, no unit.
TEST(ResultGraphTest, GoldenMarkupOfTheFourKinds)
{
    const KindCase cases[] = {
        {RESULT_COLUMN_VELOCITY, "", 200, 1600, 1383, 950, {"1.0", "2.0", "4.0"}, false, "m/s", {1600, 1383, 950}},
        {RESULT_COLUMN_PRESSURE_LOSS, "", 200, 1600, 1470, 950, {"2.0", "8.0", "32.0"}, false, "mbar",
         {1600, 1470, 950}},
        {RESULT_COLUMN_ERROR, "Error indicated is for volumetric flow measurement.", 200, 1112, 1356, 1356,
         {"1.5", "0.75", "0.75"}, true, "%", {1112, 1356, 1356}},
        {RESULT_COLUMN_REYNOLDS, "", 240, 1600, 1383, 950, {"20000.0", "40000.0", "80000.0"}, false, "",
         {1600, 1383, 950}},
    };
    for (const KindCase& k : cases) {
        SCOPED_TRACE(k.column);
        CResultGraph graph;
        graph.SetCaption(k.caption);
        EXPECT_EQ(Golden(k), graph.Build(Row(), kPlot, k.column));
    }
}

TEST(ResultGraphTest, LayoutFollowsTheUnitAndLabelWidths)
{
    struct Case {
        std::string flowUnit;
        double lastVelocity;
        SGraphRect inner;
    } cases[] = {
        {"m3/h", 4.0, {200, 950, 1780, 1600}},         // 4 characters, labels of at most 5
        {"m3/h", 123.4, {200, 950, 1780, 1600}},       // "123.0": 5 characters still fit the margin
        {"Nm3/h", 4.0, {200, 950, 1760, 1600}},        // a longer unit moves the right edge
        {"m3/h", 1234.5, {220, 950, 1780, 1600}},      // "1235.0": 4 digits, 6 characters
        {"m3/h", 1234567.0, {280, 950, 1780, 1600}},   // "1234567.0": 7 digits, 9 characters
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flowUnit + " " + std::to_string(c.lastVelocity));
        CResultItem row = Row(c.flowUnit);
        row.Points.back()[RESULT_COLUMN_VELOCITY] = c.lastVelocity;
        CResultGraph graph;
        graph.Build(row, kPlot, RESULT_COLUMN_VELOCITY);
        const SGraphRect& inner = graph.GetInnerRect();
        EXPECT_EQ(c.inner.left, inner.left);
        EXPECT_EQ(c.inner.top, inner.top);
        EXPECT_EQ(c.inner.right, inner.right);
        EXPECT_EQ(c.inner.bottom, inner.bottom);
    }
}

// The caption's box reaches 60 units below the plot; a page for the chart makes room for it.
TEST(ResultGraphTest, TheExtentHoldsTheCaption)
{
    const SGraphRect extent = CResultGraph::GetExtent(kPlot);
    EXPECT_EQ(extent.left, kPlot.left);
    EXPECT_EQ(extent.top, kPlot.top);
    EXPECT_EQ(extent.right, kPlot.right);
    EXPECT_EQ(extent.bottom, kPlot.bottom + 60);
}

TEST(ResultGraphTest, MajorTicks)
{
    std::string x, y;
    for (int i = 0; i < 7; ++i) {
        x += CResultGraph::IsMajorTick(i, 7, true) ? 'M' : '-';
        y += CResultGraph::IsMajorTick(i, 7, false) ? 'M' : '-';
    }
    EXPECT_EQ("M-M-M-M", x);
    EXPECT_EQ("M-MM-MM", y);
}

TEST(ResultGraphTest, LabelDigits)
{
    const std::pair<double, int> cases[] = {
        {12345678.0, 8}, {1000000.0, 6}, {100000.0, 5}, {10000.0, 4}, {1000.0, 3}, {10.0, 2},
        {1.0, 2},        {0.001, 2},     {0.00099, 3},  {0.00005, 4}, {5e-6, 5},   {5e-7, 6},
        {5e-8, 9},       {0.0, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, CResultGraph::GetLabelDigits(c.first)) << c.first;
}

TEST(ResultGraphTest, NoPointsNoMarkupNotEvenTheCaption)
{
    CResultItem row = Row();
    row.Points.clear();
    CResultGraph graph;
    graph.SetCaption("caption");
    EXPECT_EQ("", graph.Build(row, kPlot, RESULT_COLUMN_ERROR));
    EXPECT_EQ("", graph.Build(Row(), kPlot, 0));
}

// Every coordinate lies on the inner left or bottom edge.
TEST(ResultGraphTest, OnePointCollapsesBothRanges)
{
    CResultItem row = Row();
    row.Points.resize(1);
    CResultGraph graph;
    const std::string markup = graph.Build(row, kPlot, RESULT_COLUMN_VELOCITY);
    EXPECT_NE(std::string::npos, markup.find(Line(200, 1600, 200, 950, "#c8c8c8", 3)));
    EXPECT_NE(std::string::npos, markup.find(Line(200, 1600, 1780, 1600, "#c8c8c8", 3)));
}

TEST(ResultGraphTest, PointsThatAreNoNumbersAreLeftOut)
{
    CResultItem row = Row();
    CResultItem spoilt = row;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    spoilt.Points.insert(spoilt.Points.begin() + 1, CResultPoint{nan, 1.0, 0.0, 0.0, 0.0});
    spoilt.Points.insert(spoilt.Points.begin() + 2, CResultPoint{15.0, inf, 0.0, 0.0, 0.0});
    CResultGraph graph;
    EXPECT_EQ(graph.Build(row, kPlot, RESULT_COLUMN_VELOCITY), graph.Build(spoilt, kPlot, RESULT_COLUMN_VELOCITY));
    spoilt.Points.assign(2, CResultPoint{nan, nan, nan, nan, nan});
    EXPECT_EQ("", graph.Build(spoilt, kPlot, RESULT_COLUMN_VELOCITY));
}

// Huge but finite values and a flow running backwards still map to coordinates.
TEST(ResultGraphTest, ExtremeValuesStayInsideTheCoordinates)
{
    CResultItem row = Row();
    row.Points[1] = {-1e308, 1e308, 0.0, 0.0, 0.0};
    CResultGraph graph;
    EXPECT_FALSE(graph.Build(row, kPlot, RESULT_COLUMN_VELOCITY).empty());
}

TEST(ResultGraphTest, MarkupCharactersInTextsAreEscaped)
{
    CResultGraph graph;
    graph.SetCaption("a&b 'c' \"d\"");
    const std::string markup = graph.Build(Row("m3<h"), kPlot, RESULT_COLUMN_ERROR);
    EXPECT_NE(std::string::npos, markup.find(">[m3&lt;h]<"));
    EXPECT_NE(std::string::npos, markup.find(">a&amp;b &apos;c&apos; &quot;d&quot;<"));

    const std::string report = "<report>\n<font fontname=\"Axis\" typeface=\"Arial\" fontsize=\"8pt\" />\n"
                               "<page width=\"2000\" height=\"2000\">\n" + markup + "</page>\n</report>\n";
    TiXmlDocument doc;
    doc.Parse(report.c_str());
    ASSERT_FALSE(doc.Error()) << doc.ErrorDesc();
    bool found = false;
    for (const TiXmlElement* text = doc.RootElement()->FirstChildElement("page")->FirstChildElement("text"); text;
         text = text->NextSiblingElement("text"))
        found = found || std::string(text->GetText() ? text->GetText() : "") == "[m3<h]";
    EXPECT_TRUE(found);
    CReport document;
    EXPECT_TRUE(document.LoadFromString(report));
    EXPECT_EQ(1u, document.GetTemplatePages().size());
}

TEST(ResultGraphTest, GraphMarkersInATemplate)
{
    const CResultItem row = Row();
    CResultGraph graph;
    const std::string pressure = graph.Build(row, kPlot, RESULT_COLUMN_PRESSURE_LOSS);
    graph.SetCaption("E");
    const std::string error = graph.Build(row, {0, 0, 800, 600}, RESULT_COLUMN_ERROR);
    const std::string velocity = CResultGraph().Build(row, {0, 0, 800, 600}, RESULT_COLUMN_VELOCITY);
    struct Case {
        std::string line;
        std::string chart;
    } cases[] = {
        {"<!--INSERT GRAPH MARKER PRESSURE LOSS 100 900 1900 1700--!>", pressure},
        {"  <!--INSERT GRAPH MARKER error 0 0 800 600-->\r", error},
        {"<!--INSERT GRAPH MARKER velocity 0 0 800 600--!>", velocity},
        {"<!--INSERT GRAPH MARKER TEMPERATURE 0 0 800 600--!>", ""},
        {"<!--INSERT GRAPH MARKER PRESSURE LOSS 100--!>", ""},
        {"<!-- PRESSURE LOSS 100 900 1900 1700 -->", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::string copied = c.line;
        if (copied.back() == '\r')
            copied.pop_back();
        EXPECT_EQ("<page>\n" + copied + "\n" + c.chart + "</page>\n",
                  InsertResultGraphs("<page>\n" + c.line + "\n</page>", row, "E"));
    }
}

// Flows 0, 1, 3, 6, 10 are not evenly spaced: the x ticks are five equal steps between the
// first and the last flow (X = 200 + 395 i); index 2 is the one minor tick of five.
TEST(ResultGraphTest, UnevenFlowsGiveEquallySpacedTicks)
{
    CResultItem row = Row();
    row.Points.clear();
    const double flows[] = {0.0, 1.0, 3.0, 6.0, 10.0};
    for (int i = 0; i < 5; ++i)
        row.AddPoint({flows[i], 1.0 + i, 0.0, 0.0, 0.0});
    const std::string markup = CResultGraph().Build(row, kPlot, RESULT_COLUMN_VELOCITY);
    for (int i = 0; i < 5; ++i)
        EXPECT_NE(std::string::npos, markup.find(Line(200 + 395 * i, 1600, 200 + 395 * i, 950, "#c8c8c8", i == 2 ? 0 : 3)))
            << i;
}
