#include "GuiTestFiles.h"
#include "Pagewright/Report.h"
#include "Pagewright/ReportText.h"
#include "Pagewright/TrueTypeFontMetrics.h"
#include "PagewrightWx/ReportDcCanvas.h"
#include "PagewrightWx/ReportPainter.h"
#include "Pagewright/ReportExporterPdf.h"
#include "Pagewright/ReportImage.h"
#include "Pagewright/ReportPicture.h"
#include "Pagewright/ReportPictureFiles.h"
#include "Quillet/LogLevel.h"
#include "support/LogCapture.h"
#include "support/MemoryUse.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/mstream.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

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

// The value as four bytes, most significant first, as PNG writes its numbers.
std::string BigEndian32(std::uint32_t value)
{
    std::string bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>(value >> shift & 0xFF);
    return bytes;
}

}  // namespace

std::string GreyPng(std::uint32_t width, std::uint32_t height, unsigned char value)
{
    const auto chunk = [](const std::string& type, const std::string& data) {
        const std::string body = type + data;
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
        return BigEndian32(static_cast<std::uint32_t>(data.size())) + body +
               BigEndian32(static_cast<std::uint32_t>(crc));
    };
    // 8 bits of grey, deflate, no interlace
    const std::string header = BigEndian32(width) + BigEndian32(height) + std::string("\x08\x00\x00\x00\x00", 5);
    std::string row(width + 1, static_cast<char>(value));
    row[0] = 0;  // no filter
    std::string packed;
    z_stream stream{};
    deflateInit(&stream, Z_DEFAULT_COMPRESSION);
    char buffer[1 << 16];
    for (std::uint32_t y = 0; y <= height; ++y) {
        const bool last = y == height;
        stream.next_in = reinterpret_cast<Bytef*>(last ? nullptr : row.data());
        stream.avail_in = last ? 0 : static_cast<uInt>(row.size());
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            packed.append(buffer, sizeof buffer - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return std::string("\x89PNG\r\n\x1A\n", 8) + chunk("IHDR", header) + chunk("IDAT", packed) + chunk("IEND", "");
}

std::string BlackBmp(std::uint32_t width, std::uint32_t height)
{
    const std::uint32_t row = (width * 3 + 3) / 4 * 4;
    const std::uint32_t size = 54 + row * height;
    std::string bytes("BM", 2);
    const auto little = [&bytes](std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    little(size, 4);
    little(0, 4);
    little(54, 4);  // where the pixels start
    little(40, 4);  // the header's size
    little(width, 4);
    little(height, 4);
    little(1, 2);   // planes
    little(24, 2);  // bits a pixel
    little(0, 24);  // no compression, and the rest left to the defaults
    bytes.resize(size, '\0');
    return bytes;
}

std::string FourColourPng()
{
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
        wxInitAllImageHandlers();
    wxImage image(8, 8);
    image.SetRGB(wxRect(0, 0, 4, 4), 255, 0, 0);
    image.SetRGB(wxRect(4, 0, 4, 4), 0, 255, 0);
    image.SetRGB(wxRect(0, 4, 4, 4), 0, 0, 255);
    image.SetRGB(wxRect(4, 4, 4, 4), 255, 255, 0);
    wxMemoryOutputStream stream;
    image.SaveFile(stream, wxBITMAP_TYPE_PNG);
    std::string bytes(stream.GetLength(), '\0');
    stream.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

namespace {

bool IsDark(const wxImage& image, int x, int y)
{
    return image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) < 3 * 160;
}

std::uint32_t ColourAt(const wxImage& image, int x, int y)
{
    return static_cast<std::uint32_t>(image.GetRed(x, y) << 16 | image.GetGreen(x, y) << 8 | image.GetBlue(x, y));
}

// A page of pictures stretched over their boxes, each given as its element's other attributes.
void LoadPictures(CReport& document, const CTemporaryFolder& folder, const std::vector<std::string>& pictures)
{
    std::string xml = R"(<report><page width="2100" height="2970" leftborder="0" topborder="0">)";
    for (const std::string& picture : pictures)
        xml += "<picture mode=\"STRETCH\" " + picture + "/>";
    ASSERT_TRUE(document.LoadFromString(xml + "</page></report>", folder.Path("")));
    document.Paginate();
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

// A picture stretched over its box, as much of it as lands on the DC, upright and on a canvas
// turned a quarter for a landscape page on a portrait sheet (its top along the sheet's left).
TEST(ReportDcCanvas, PicturesFillTheirBoxTurnedWithTheCanvas)
{
    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("four.png"), FourColourPng());
    CReport document;
    LoadPictures(document, folder, {R"(filename="four.png" x="0" y="0" width="1000" height="1000")"});
    const std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, yellow = 0xFFFF00, white = 0xFFFFFF;
    const struct {
        bool turned;
        wxPoint origin;
        std::uint32_t topLeft, topRight, bottomLeft, bottomRight;
    } cases[] = {
        {false, {0, 0}, red, green, blue, yellow},
        {false, {-50, 0}, green, white, yellow, white},  // the right half, at the left
        {true, {0, 0}, green, yellow, red, blue},
        {true, {0, -50}, red, blue, white, white},  // the left half, at the top
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.turned) + " " + std::to_string(c.origin.x) + "," + std::to_string(c.origin.y));
        wxBitmap bitmap(100, 100, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            CReportDcCanvas canvas(dc, 25.4, 25.4, c.origin);  // a pixel every 10 units
            if (c.turned)
                canvas.TurnQuarter(100);
            CReportPainter(canvas, 0).DrawElement(*document.GetPage(0)->elements.at(0), 1.0);
        }
        const wxImage image = bitmap.ConvertToImage();
        // Scaling up blends a little of the neighbours in.
        const auto near = [&image](int x, int y, std::uint32_t expected) {
            const std::uint32_t found = ColourAt(image, x, y);
            for (int shift : {0, 8, 16})
                if (std::abs(static_cast<int>(found >> shift & 0xFF) - static_cast<int>(expected >> shift & 0xFF)) > 8)
                    return false;
            return true;
        };
        EXPECT_TRUE(near(25, 25, c.topLeft)) << std::hex << ColourAt(image, 25, 25);
        EXPECT_TRUE(near(75, 25, c.topRight)) << std::hex << ColourAt(image, 75, 25);
        EXPECT_TRUE(near(25, 75, c.bottomLeft)) << std::hex << ColourAt(image, 25, 75);
        EXPECT_TRUE(near(75, 75, c.bottomRight)) << std::hex << ColourAt(image, 75, 75);
    }
}

// Its header says what decoding a picture would take: past the bound it is no picture and draws
// nothing, as one that cannot be decoded, and drawing its page takes no more memory than the
// page does. 8000 x 8000 pixels would take 192 MB decoded.
TEST(ReportDcCanvas, APictureBeyondThePixelBoundDrawsNothingInFlatMemory)
{
    CTemporaryFolder folder;
    const std::string huge = GreyPng(8000, 8000, 0);
    EXPECT_LT(huge.size(), 100u * 1024);
    WriteWholeFile(folder.Path("huge.png"), huge);
    CReport document;
    LoadPictures(document, folder, {R"(filename="huge.png" x="100" y="100" width="1000" height="1000")"});
    EXPECT_EQ(dynamic_cast<const CReportPicture&>(*document.GetPage(0)->elements.at(0)).GetImage(), nullptr);
    ASSERT_TRUE(ResetPeakMemory());
    const long before = MemoryKiB();
    const wxImage image = RenderPage(document, 0, 60);
    EXPECT_LT(PeakMemoryKiB() - before, 32 * 1024);
    int dark = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            dark += IsDark(image, x, y) ? 1 : 0;
    EXPECT_EQ(dark, 0);
}

// A GIF image of the size, every pixel black, as the decoder reads it: codes of 9 bits, whose
// table is cleared before it needs wider ones, each code one run longer than the one before.
// 25 million pixels take about 230 KB.
std::string BlackGifFrame(unsigned width, unsigned height)
{
    std::string data;
    std::uint32_t pending = 0;
    int pendingBits = 0;
    const auto emit = [&](unsigned code) {
        pending |= code << pendingBits;
        for (pendingBits += 9; pendingBits >= 8; pendingBits -= 8, pending >>= 8)
            data += static_cast<char>(pending & 0xFF);
    };
    const unsigned clear = 256;
    const unsigned first = 258;  // after the clear and end codes
    long long remaining = static_cast<long long>(width) * height;
    long long longest = 1;
    emit(clear);
    while (remaining > 0) {
        const long long run = std::min(longest, remaining);
        emit(run == 1 ? 0 : static_cast<unsigned>(first + run - 2));
        remaining -= run;
        if (remaining > 0 && run == longest)
            ++longest;
        if (first + longest - 2 >= 500) {
            emit(clear);
            longest = 1;
        }
    }
    emit(257);
    if (pendingBits > 0)
        data += static_cast<char>(pending & 0xFF);
    std::string frame("\x2C\x00\x00\x00\x00", 5);
    for (unsigned value : {width, height}) {
        frame += static_cast<char>(value & 0xFF);
        frame += static_cast<char>(value >> 8);
    }
    frame += std::string("\x00\x08", 2);  // no colour table of its own; 8 bits a code starts from
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, data.size() - at);
        frame += static_cast<char>(length);
        frame += data.substr(at, length);
    }
    return frame + '\0';
}

// The start of a GIF of a 5000 x 5000 screen whose colours are black and white.
std::string GifScreen()
{
    return std::string("GIF89a\x88\x13\x88\x13\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF", 19);
}

// GIFs whose frames together pass the pixel bound, though a walk that stops early finds only a
// small one: they are no pictures, draw nothing, and drawing them decodes nothing.
TEST(ReportDcCanvas, GifsWhoseFramesPassThePixelBoundDrawNothingInFlatMemory)
{
    const std::string large = BlackGifFrame(5000, 5000) + BlackGifFrame(5000, 5000) + BlackGifFrame(5000, 5000);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"a stray byte after a small frame", GifScreen() + BlackGifFrame(100, 100) + '\0' + large + ';'},
        {"a control extension of size 0", GifScreen() + BlackGifFrame(100, 100) +
                                              std::string("\x21\xF9\x00\x00\x00\x00\x00\x00", 8) + large + ';'},
        {"no trailer", GifScreen() + BlackGifFrame(100, 100) + large},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTemporaryFolder folder;
        WriteWholeFile(folder.Path("frames.gif"), c.bytes);
        CReport document;
        LoadPictures(document, folder, {R"(filename="frames.gif" x="100" y="100" width="1000" height="1000")"});
        EXPECT_EQ(dynamic_cast<const CReportPicture&>(*document.GetPage(0)->elements.at(0)).GetImage(), nullptr);
        ASSERT_TRUE(ResetPeakMemory());
        const long before = MemoryKiB();
        const wxImage image = RenderPage(document, 0, 60);
        EXPECT_LT(PeakMemoryKiB() - before, 32 * 1024);
        EXPECT_FALSE(IsDark(image, 100, 100));
    }
}

// Twenty different pictures of 13 MB each: those that fit the document's budget for picture
// files, the first in the order of the template, draw, and the rest draw nothing. Loading and
// drawing take no more than the budget and 100 MB: the files of them all would take 260 MB.
TEST(ReportDcCanvas, PicturesPastTheDocumentsBudgetDrawNothing)
{
    CTemporaryFolder folder;
    const std::string bmp = BlackBmp(2080, 2080);
    std::vector<std::string> pictures;
    for (int i = 0; i < 20; ++i) {
        const std::string name = "picture" + std::to_string(i) + ".bmp";
        WriteWholeFile(folder.Path(name), bmp);
        pictures.push_back("filename=\"" + name + "\" x=\"" + std::to_string(i % 4 * 500) + "\" y=\"" +
                           std::to_string(i / 4 * 500) + "\" width=\"400\" height=\"400\"");
    }
    const std::size_t fitting = CReportPictureFiles::kMaxBytes / bmp.size();
    ASSERT_GT(fitting, 1u);
    ASSERT_LT(fitting, 20u);
    ASSERT_TRUE(ResetPeakMemory());
    const long before = MemoryKiB();
    CReport document;
    wxImage image;
    const std::string log = LogWrittenWhile(folder.Path("report.log"), LOGLEVEL_WARN, [&] {
        LoadPictures(document, folder, pictures);
        image = RenderPage(document, 0, 30);
    });
    EXPECT_LT(PeakMemoryKiB() - before, static_cast<long>(CReportPictureFiles::kMaxBytes / 1024) + 100 * 1024);
    for (std::size_t i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        const auto& picture = dynamic_cast<const CReportPicture&>(*document.GetPage(0)->elements.at(i));
        EXPECT_EQ(picture.GetImage() != nullptr, i < fitting);
        const int x = static_cast<int>((i % 4 * 500 + 200) * 30 / 254);
        const int y = static_cast<int>((i / 4 * 500 + 200) * 30 / 254);
        EXPECT_EQ(IsDark(image, x, y), i < fitting);
        EXPECT_EQ(log.find("picture" + std::to_string(i) + ".bmp") != std::string::npos, i >= fitting) << log;
    }
}

// A picture at the bound (5000 x 5000, 75 MB decoded) draws; the canvas keeps it only at the
// size it was drawn, and a second element of the same size takes that again. A page of such
// pictures over the whole sheet at 300 dpi stays below 300 MB: each is decoded in turn (wx
// takes 7 bytes a pixel for a PNG while it decodes) and let go once drawn.
TEST(ReportDcCanvas, PicturesAtTheBoundDrawAndAreKeptOnlyAsDrawn)
{
    ASSERT_EQ(5000LL * 5000, CReportImage::kMaxPixels);
    CTemporaryFolder folder;
    for (const char* name : {"a.png", "b.png"})
        WriteWholeFile(folder.Path(name), GreyPng(5000, 5000, 0x40));
    CReport small;
    LoadPictures(small, folder, {R"(filename="a.png" x="100" y="100" width="800" height="800")",
                                 R"(filename="a.png" x="1100" y="100" width="800" height="800")"});
    wxBitmap bitmap(500, 250, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        CReportDcCanvas canvas(dc, 60, 60);
        const long before = MemoryKiB();
        CReportPainter(canvas, 0).DrawPage(small, 0, 1.0);
        EXPECT_LT(MemoryKiB() - before, 32 * 1024) << "the canvas holds the decoded picture";
    }
    const wxImage image = bitmap.ConvertToImage();
    EXPECT_EQ(ColourAt(image, 50, 50), 0x404040u);
    EXPECT_EQ(ColourAt(image, 310, 50), 0x404040u);
    EXPECT_EQ(ColourAt(image, 240, 50), 0xFFFFFFu);

    CReport page;
    LoadPictures(page, folder, {R"(filename="a.png" x="0" y="0" width="2100" height="2970")",
                                R"(filename="b.png" x="100" y="100" width="1900" height="2770")"});
    ASSERT_TRUE(ResetPeakMemory());
    const long before = MemoryKiB();
    const wxImage printed = RenderPage(page, 0, 300);
    EXPECT_LT(PeakMemoryKiB() - before, 300 * 1024);
    EXPECT_EQ(ColourAt(printed, 1200, 1700), 0x404040u);
}

// The canvas, keeping the size of every text it draws.
class CTextSizeCanvas : public CReportDcCanvas {
public:
    using CReportDcCanvas::CReportDcCanvas;
    void DrawText(const SCanvasFont& font, ReportColor color, SReportPoint origin, double angle,
                  std::string_view text) override
    {
        heights.push_back(std::abs(font.height));
        CReportDcCanvas::DrawText(font, color, origin, angle, text);
    }
    std::vector<int> heights;
};

// The size of the first font operator of the PDF's first page, whose content is deflated.
double FirstPdfTextSize(const std::string& pdf)
{
    const std::size_t start = pdf.find("stream\n", pdf.find("/Contents"));
    if (start == std::string::npos)
        return 0.0;
    std::string content(1 << 16, '\0');
    z_stream stream{};
    inflateInit(&stream);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(pdf.data() + start + 7));
    stream.avail_in = static_cast<uInt>(pdf.size() - start - 7);
    stream.next_out = reinterpret_cast<Bytef*>(content.data());
    stream.avail_out = static_cast<uInt>(content.size());
    inflate(&stream, Z_FINISH);
    content.resize(stream.total_out);
    inflateEnd(&stream);
    const std::size_t tf = content.find(" Tf");
    const std::size_t size = content.rfind(' ', tf - 1);
    return tf == std::string::npos ? 0.0 : std::atof(content.substr(size + 1, tf - size - 1).c_str());
}

// Three lines of 36 points of Liberation Sans, in a box between the depths by which the preview
// (two line pitches and the font's cell) and the export (three sizes and the font's descent)
// once decided whether they fit: both decide by one rule now, and set the text at one size.
TEST(ReportDcCanvas, ShrinkToFitSetsTheTextAtTheSizeOfTheExport)
{
    const double points = 36;
    const int pitch = static_cast<int>(std::lround(points * 254 / 72));
    wxBitmap scratch(8, 8, 24);
    wxMemoryDC scratchDc(scratch);
    CReportDcCanvas measuring(scratchDc, 254, 254);  // a pixel a drawing unit, as at zoom 1
    SCanvasFont font;
    font.face = "Liberation Sans";
    font.height = -pitch;
    const int cell = measuring.MeasureText(font, "").height;
    CTrueTypeFontMetrics metrics;
    ASSERT_TRUE(metrics.Load("Liberation Sans"));
    const double previewDepth = 2 * pitch + cell;
    const double exportDepth = (3 * points + points * std::abs(metrics.descent) / 1000) * 254 / 72;
    ASSERT_GT(exportDepth - previewDepth, 4) << cell << " " << metrics.descent;
    const struct {
        int boxHeight;
        bool shrinks;
    } cases[] = {
        {static_cast<int>(std::lround((previewDepth + exportDepth) / 2)), true},
        {static_cast<int>(std::ceil(exportDepth)) + 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boxHeight);
        CReport document;
        ASSERT_TRUE(document.LoadFromString(
            R"(<report><page width="2100" height="2970" leftborder="0" topborder="0">
               <text x="100" y="100" width="1800" height=")" + std::to_string(c.boxHeight) +
            R"(" fontname="F" shrinktofit="TRUE">one\ntwo\nthree</text></page>
               <font fontname="F" typeface="Liberation Sans" fontsize="36pt"/></report>)"));
        document.Paginate();
        wxBitmap bitmap(600, 600, 24);
        std::vector<int> heights;
        {
            wxMemoryDC dc(bitmap);
            CTextSizeCanvas canvas(dc, 254, 254);
            CReportPainter(canvas, 0).DrawPage(document, 0, 1.0);
            heights = canvas.heights;
        }
        ASSERT_EQ(heights.size(), 3u);
        const double previewPoints = heights[0] * 72 / 254.0;
        CTemporaryFolder folder;
        CReportExporterPdf exporter;
        ASSERT_EQ(exporter.Export(&document, folder.Path("text.pdf")), 1);
        const double exportPoints = FirstPdfTextSize(exporter.GetOutput());
        EXPECT_EQ(exportPoints < points, c.shrinks) << exportPoints;
        EXPECT_NEAR(previewPoints, exportPoints, 0.3);
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
