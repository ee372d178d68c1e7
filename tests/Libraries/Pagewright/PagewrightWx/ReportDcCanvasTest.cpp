#include "GuiTestFiles.h"
#include "Pagewright/Report.h"
#include "Pagewright/ReportText.h"
#include "PagewrightWx/ReportDcCanvas.h"
#include "PagewrightWx/ReportPainter.h"
#include "support/TemporaryFolder.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include <cmath>

wxImage RenderPage(const CReport& report, int index, double dpi)
{
    const CReportPage* page = report.GetPage(index);
    if (page == nullptr)
        return wxImage();
    wxBitmap bitmap(static_cast<int>(page->width * dpi / 254), static_cast<int>(page->height * dpi / 254), 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        CReportDcCanvas canvas(dc, dpi, dpi);
        CReportPainter(canvas, CReportPainter::DesktopTextColor()).DrawPage(report, index, 1.0);
    }
    return bitmap.ConvertToImage();
}

namespace {

bool IsDark(const wxImage& image, int x, int y)
{
    return image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) < 3 * 160;
}

// How far the point lies outside the convex polygon; 0 inside.
double DistanceOutside(const std::vector<wxPoint>& polygon, double x, double y)
{
    double area = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const wxPoint& a = polygon[i];
        const wxPoint& b = polygon[(i + 1) % polygon.size()];
        area += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    double outside = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const wxPoint& a = polygon[i];
        const wxPoint& b = polygon[(i + 1) % polygon.size()];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const double cross = ((b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x)) / length;
        outside = std::max(outside, area > 0 ? -cross : cross);
    }
    return outside;
}

TEST(ReportDcCanvas, DrawingUnitsBecomeDevicePixelsAtTheResolution)
{
    wxBitmap bitmap(200, 200, 24);
    wxMemoryDC dc(bitmap);
    struct SCase {
        double dpi;
        SReportPoint point;
        wxPoint expected;
    };
    const SCase cases[] = {{254, {100, -50}, {100, 50}}, {600, {254, -127}, {600, 300}}, {96, {-254, 254}, {-96, -96}}};
    for (const SCase& c : cases) {
        const CReportDcCanvas canvas(dc, c.dpi, c.dpi, wxPoint(0, 0));
        EXPECT_EQ(canvas.ToDevice(c.point), c.expected) << c.dpi;
    }
    CReportDcCanvas moved(dc, 254, 254, wxPoint(-10, 5));
    EXPECT_EQ(moved.ToDevice({100, -50}), wxPoint(90, 55));
    // A landscape page turned onto a portrait sheet 300 pixels high: its top-left at the sheet's
    // bottom-left, its top edge along the sheet's left edge.
    CReportDcCanvas turned(dc, 254, 254);
    turned.TurnQuarter(300);
    EXPECT_EQ(turned.ToDevice({0, 0}), wxPoint(0, 300));
    EXPECT_EQ(turned.ToDevice({200, 0}), wxPoint(0, 100));
    EXPECT_EQ(turned.ToDevice({0, -50}), wxPoint(50, 300));
}

// At 254 dpi a drawing unit is a pixel: the marker's pixel and square, and the outline frame
// five pixels wide along the inside of the element's region, not beyond it.
TEST(ReportDcCanvas, MarkersAndOutlineArePixelsOfTheirColours)
{
    CReport report;
    ASSERT_TRUE(report.LoadFromString(R"(<report><page width="600" height="400" leftborder="0" topborder="0">)"
                                      R"(<rectangle x="100" y="100" width="300" height="200" fillcolor="#ffffff"/>)"
                                      R"(</page></report>)"));
    report.Paginate();
    wxBitmap bitmap(600, 400, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        CReportDcCanvas canvas(dc, 254, 254);
        CReportPainter(canvas, 0).DrawPage(report, 0, 1.0, true, true);
    }
    const wxImage image = bitmap.ConvertToImage();
    SaveScreenshot(bitmap, "ReportMarkersAndOutline");
    const auto colourAt = [&image](int x, int y) {
        return static_cast<unsigned>(image.GetRed(x, y) | image.GetGreen(x, y) << 8 | image.GetBlue(x, y) << 16);
    };
    const unsigned marker = 0x1E1EC8;
    const unsigned outline = 0x4599FF;
    EXPECT_EQ(colourAt(50, 50), marker) << "the marker square around the top-left corner";
    EXPECT_EQ(colourAt(150, 100 + 20), marker);
    EXPECT_EQ(colourAt(450, 320), marker) << "the right edge of the square around the bottom-right corner";
    EXPECT_EQ(colourAt(250, 102), outline) << "the frame inside the top edge";
    EXPECT_EQ(colourAt(102, 200), outline);
    EXPECT_EQ(colourAt(397, 200), outline);
    EXPECT_EQ(colourAt(250, 297), outline);
    EXPECT_EQ(colourAt(250, 200), 0xFFFFFFu) << "inside the frame";
    EXPECT_EQ(colourAt(250, 110), 0xFFFFFFu);
    EXPECT_EQ(colourAt(250, 95), 0xFFFFFFu) << "outside the region";
}

TEST(ReportDcCanvas, FontHeightsAreCellOrCharacterHeights)
{
    wxBitmap bitmap(20, 20, 24);
    wxMemoryDC dc(bitmap);
    CReportDcCanvas canvas(dc, 600, 600);
    SCanvasFont font;
    font.face = "Liberation Sans";
    font.height = 100;  // 10 mm cell
    EXPECT_NEAR(canvas.MeasureText(font, "Xg").height, 100, 4);
    font.height = -100;  // 10 mm em: Liberation Sans has a cell of about 1.15 em
    EXPECT_NEAR(canvas.MeasureText(font, "Xg").height, 115, 6);
    const int narrow = canvas.MeasureText(font, "iiii").width;
    EXPECT_GT(canvas.MeasureText(font, "WWWW").width, 2 * narrow);
    EXPECT_EQ(canvas.MeasureText(font, "").width, 0);
}

// Turned text lies inside its turned box at every angle, and is not clipped away.
TEST(ReportDcCanvas, TurnedTextStaysInsideItsBox)
{
    for (int tenths : {0, 300, 900, 1350, 2000, 2700, 3300}) {
        SCOPED_TRACE(tenths);
        CReport document;
        ASSERT_TRUE(document.LoadFromString(
            R"(<report><page width="1400" height="1400"><text x="700" y="700" width="600" height="120" fontname="F"
               angle=")" + std::to_string(tenths) + R"(">Turned text WWW</text></page>
               <font fontname="F" typeface="Liberation Sans" fontsize="100"/></report>)"));
        document.Paginate();
        const double dpi = 100;
        const wxImage image = RenderPage(document, 0, dpi);
        ASSERT_TRUE(image.IsOk());
        wxBitmap scratch(1, 1, 24);
        wxMemoryDC dc(scratch);
        const CReportDcCanvas canvas(dc, dpi, dpi);
        const auto& text = dynamic_cast<const CReportText&>(*document.GetPage(0)->elements[0]);
        std::vector<wxPoint> box;
        for (const SReportPoint& corner : text.GetCorners(1.0))
            box.push_back(canvas.ToDevice(corner));
        int dark = 0;
        double worst = 0;
        for (int y = 0; y < image.GetHeight(); ++y) {
            for (int x = 0; x < image.GetWidth(); ++x) {
                if (IsDark(image, x, y)) {
                    ++dark;
                    worst = std::max(worst, DistanceOutside(box, x + 0.5, y + 0.5));
                }
            }
        }
        EXPECT_GT(dark, 300);
        EXPECT_LE(worst, 1.5);
    }
}

// The fixture page, drawn at 60 pixels per inch, matches its reference image up to small
// differences of font rendering. ZEPHRIN_UPDATE_REFERENCE=1 writes the reference instead.
TEST(ReportDcCanvas, FixturePageMatchesItsReference)
{
    CReport document;
    ASSERT_TRUE(document.LoadFromFile(DrawingDataPath("FixturePage.rpt")));
    for (int row = 1; row <= 3; ++row) {
        document.SetVariable("T.Name." + std::to_string(row), "Point " + std::to_string(row));
        document.SetVariable("T.Value." + std::to_string(row), std::to_string(row * 1.25).substr(0, 4));
    }
    document.Paginate();
    const wxImage image = RenderPage(document, 0, 60);
    ASSERT_TRUE(image.IsOk());
    SaveScreenshot(wxBitmap(image), "FixturePage-rendered");
    const std::string referencePath = DrawingDataPath("FixturePage.png");
    const char* update = std::getenv("ZEPHRIN_UPDATE_REFERENCE");
    if (update != nullptr && std::string(update) == "1") {
        ASSERT_TRUE(image.SaveFile(referencePath, wxBITMAP_TYPE_PNG));
    }

    wxImage reference;
    ASSERT_TRUE(reference.LoadFile(referencePath, wxBITMAP_TYPE_PNG));
    ASSERT_EQ(reference.GetSize(), image.GetSize());
    int different = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            const int delta = std::abs(image.GetRed(x, y) - reference.GetRed(x, y)) +
                              std::abs(image.GetGreen(x, y) - reference.GetGreen(x, y)) +
                              std::abs(image.GetBlue(x, y) - reference.GetBlue(x, y));
            if (delta > 96)
                ++different;
        }
    }
    EXPECT_LT(different, image.GetWidth() * image.GetHeight() / 200) << different << " pixels differ";
}

}  // namespace
