#include "Pagewright/Report.h"
#include "Pagewright/ReportExporterPdf.h"
#include "PagewrightWx/ReportPainter.h"
#include "PagewrightWx/ReportPrinter.h"
#include "GuiTestFiles.h"
#include "support/DarkDesktopScope.h"
#include "support/GtkFilePrinter.h"
#include "support/LayoutCheck.h"
#include "support/MemoryUse.h"
#include "support/PdfWordLayout.h"
#include "support/Process.h"
#include "support/TemporaryFolder.h"
#include "support/TestPrintServer.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <wx/cmndata.h>
#include <wx/timer.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <vector>
#include <memory>
#include <string>


namespace {

// A portrait page, a landscape page with a long bar along its top, and a portrait page.
const char kThreePages[] = R"(<report>
  <page><rectangle x="100" y="100" width="1000" height="50" fillcolor="#000000"/></page>
  <page width="2970" height="2100" orientation="LANDSCAPE">
    <rectangle x="100" y="100" width="2600" height="50" fillcolor="#000000"/></page>
  <page><rectangle x="100" y="100" width="1000" height="50" fillcolor="#000000"/></page>
</report>)";

// Texts of every kind on a portrait page and on a landscape page, which a portrait job turns:
// two faces, bold, a colour of their own and none, right and centred alignment, a box of
// several lines, English and German. Bold texts have several words, which stand where the
// printer puts them only when the export gives the bold face's own widths. The lines of a text
// of several lines and of html text are as far apart as the export sets them (the font's size),
// not as high as the font's cell, which moved each printed line a further third of a millimetre
// down.
const char kTexts[] = R"(<report>
  <page leftborder="100" topborder="100">
    <text x="0" y="0" width="1400" height="70" fontname="Title">Vortex Sizing Report</text>
    <text x="0" y="160" width="900" height="50" fontname="Heading">Kundendaten und Messstelle</text>
    <text x="0" y="215" width="420" height="45" fontname="Body">Customer</text>
    <text x="430" y="215" width="700" height="45" fontname="Body" color="#C00000">Acme Röhrenwerk GmbH</text>
    <text x="0" y="300" width="1900" height="45" fontname="Body" align="RIGHT">Messstellen-Nr. Größe</text>
    <text x="0" y="380" width="1900" height="60" fontname="Serif">A face with serifs</text>
    <text x="0" y="480" width="900" height="200" fontname="Body" multiline="TRUE">Kundendaten über mehrere Zeilen eines Feldes, das schmaler ist als der Text</text>
    <htmltext x="0" y="800" width="1500" height="300" fontname="Body">Reynolds number at min. flow: 28 400&lt;br&gt;MOKADI ZR410 DN 80&lt;br&gt;VNumber: 1.25&lt;br&gt;Application turndown: 25.7&lt;br&gt;Vortex frequency at max. flow: 412 Hz&lt;br&gt;Current at min. flow: 4.62 mA&lt;br&gt;&lt;b&gt;Druckverlust&lt;/b&gt; bei größtem Durchfluss: 0.31 bar</htmltext>
    <text x="0" y="1150" width="1900" height="300" fontname="Body" multiline="TRUE">Reynoldszahl bei kleinstem Durchfluss: 28 400&#10;MOKADI ZR410 DN 100&#10;V-Zahl: 1.31&#10;Messspanne der Anwendung: 1:14.8&#10;Wirbelfrequenz bei größtem Durchfluss: 101.1 Hz&#10;Strom bei kleinstem Durchfluss: 5.08 mA</text>
    <text x="0" y="2700" width="1900" height="40" fontname="Small" align="CENTER" color="#1F4E79">Page footer</text>
  </page>
  <page width="2970" height="2100" orientation="LANDSCAPE" leftborder="100" topborder="100">
    <text x="0" y="0" width="1400" height="70" fontname="Title">Seite im Querformat</text>
    <text x="0" y="215" width="420" height="45" fontname="Body">Customer</text>
    <text x="2000" y="215" width="700" height="45" fontname="Heading" align="CENTER" color="#007000">Auslegung des Zählers</text>
    <text x="0" y="1900" width="2700" height="45" fontname="Body" align="RIGHT">Druckt quer</text>
  </page>
  <font fontname="Title" typeface="Arial" fontsize="16pt" isbold="TRUE"/>
  <font fontname="Heading" typeface="Arial" fontsize="11pt" isbold="TRUE"/>
  <font fontname="Body" typeface="Arial" fontsize="9pt"/>
  <font fontname="Small" typeface="Arial" fontsize="7pt"/>
  <font fontname="Serif" typeface="Times New Roman" fontsize="14pt"/>
</report>)";

int PageCount(const std::string& pdf)
{
    const std::string info = RunTool({"pdfinfo", pdf}).output;
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// The bounding box of the dark pixels of a page rendered at 20 pixels per inch, as
// "width x height".
wxSize DarkExtent(const std::string& pdf, int page)
{
    const std::string pgm = RunTool({"pdftoppm", "-gray", "-r", "20", "-f", std::to_string(page), "-l",
                                         std::to_string(page), pdf})
                                    .output;
    int width = 0;
    int height = 0;
    int max = 0;
    int consumed = 0;
    if (std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &width, &height, &max, &consumed) != 3)
        return wxSize();
    const unsigned char* pixels = reinterpret_cast<const unsigned char*>(pgm.data()) + consumed + 1;
    if (pgm.size() < static_cast<std::size_t>(consumed + 1 + width * height))
        return wxSize();
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (pixels[y * width + x] < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? wxSize() : wxSize(right - left + 1, bottom - top + 1);
}


TEST(ReportPrinter, PrintsEveryPageToAPdfFileWithTheLandscapePageTurned)
{
    CTemporaryFolder folder;
    const std::string pdf = folder.Path("report.pdf");
    CReport document;
    ASSERT_TRUE(document.LoadFromString(kThreePages));
    wxPrintDialogData data(FilePrinterSettings(pdf));
    data.SetAllPages(true);
    CPrintDialogAnswer answer;
    ASSERT_TRUE(CReportPrinter::Print(document, "Report", true, &data));
    EXPECT_TRUE(answer.answered);
    ASSERT_EQ(PageCount(pdf), 3);
    // Portrait sheets: the bar of the landscape page runs down the sheet.
    const wxSize portrait = DarkExtent(pdf, 1);
    const wxSize landscape = DarkExtent(pdf, 2);
    EXPECT_GT(portrait.x, 4 * portrait.y);
    EXPECT_GT(landscape.y, 4 * landscape.x);
    EXPECT_GT(landscape.y, portrait.x * 2);
}

// Pages of pictures at the pixel bound (5000 x 5000) over the whole sheet, upright and turned,
// print in less than 300 MB: each picture is decoded in turn and let go once drawn. A picture
// past the bound prints nothing.
TEST(ReportPrinter, PagesOfPicturesPrintInBoundedMemory)
{
    CTemporaryFolder folder;
    const std::string pdf = folder.Path("pictures.pdf");
    WriteWholeFile(folder.Path("a.png"), GreyPng(5000, 5000, 0x40));
    WriteWholeFile(folder.Path("b.png"), GreyPng(5000, 5000, 0x40));
    WriteWholeFile(folder.Path("huge.png"), GreyPng(8000, 8000, 0));
    CReport document;
    ASSERT_TRUE(document.LoadFromString(R"(<report>
      <page><picture x="0" y="0" width="2100" height="2970" mode="STRETCH" filename="a.png"/></page>
      <page width="2970" height="2100" orientation="LANDSCAPE">
        <picture x="0" y="0" width="2970" height="2100" mode="STRETCH" filename="b.png"/></page>
      <page><picture x="0" y="0" width="2100" height="2970" mode="STRETCH" filename="huge.png"/></page>
      </report>)", folder.Path("")));
    wxPrintDialogData data(FilePrinterSettings(pdf));
    data.SetAllPages(true);
    CPrintDialogAnswer answer;
    ASSERT_TRUE(ResetPeakMemory());
    const long before = MemoryKiB();
    ASSERT_TRUE(CReportPrinter::Print(document, "Report", true, &data));
    EXPECT_LT(PeakMemoryKiB() - before, 300 * 1024);
    ASSERT_EQ(PageCount(pdf), 3);
    EXPECT_GT(DarkExtent(pdf, 1).x, 100);
    EXPECT_GT(DarkExtent(pdf, 2).y, 100);
    EXPECT_EQ(DarkExtent(pdf, 3), wxSize());
}

// A template naming one picture of 58 MB twenty times holds it once, loaded and printed: twenty
// copies took over a gigabyte.
TEST(ReportPrinter, OnePictureNamedTwentyTimesLoadsAndPrintsAsOne)
{
    CTemporaryFolder folder;
    const std::string pdf = folder.Path("twenty.pdf");
    WriteWholeFile(folder.Path("large.bmp"), BlackBmp(4400, 4400));
    std::string xml = "<report><page>";
    for (int i = 0; i < 20; ++i)
        xml += "<picture x=\"" + std::to_string(100 + i % 4 * 450) + "\" y=\"" + std::to_string(100 + i / 4 * 550) +
               "\" width=\"400\" height=\"500\" mode=\"STRETCH\" filename=\"large.bmp\"/>";
    ASSERT_TRUE(ResetPeakMemory());
    const long before = MemoryKiB();
    CReport document;
    ASSERT_TRUE(document.LoadFromString(xml + "</page></report>", folder.Path("")));
    EXPECT_LT(PeakMemoryKiB() - before, 100 * 1024);
    wxPrintDialogData data(FilePrinterSettings(pdf));
    data.SetAllPages(true);
    CPrintDialogAnswer answer;
    ASSERT_TRUE(CReportPrinter::Print(document, "Report", true, &data));
    EXPECT_LT(PeakMemoryKiB() - before, 300 * 1024);
    ASSERT_EQ(PageCount(pdf), 1);
    const wxSize dark = DarkExtent(pdf, 1);
    EXPECT_GT(dark.x, 100);
    EXPECT_GT(dark.y, 150);
}

// An image of a printed PDF as pdfimages lists it.
struct SListedImage {
    int width = 0;
    int height = 0;
    bool interpolated = false;
    int ppiX = 0;
    int ppiY = 0;
};

std::vector<SListedImage> ListImages(const std::string& pdf)
{
    std::vector<SListedImage> images;
    std::istringstream lines(RunTool({"pdfimages", "-list", pdf}).output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string page, number, type, colour, components, bits, encoding, interpolate, object, id;
        SListedImage image;
        if (fields >> page >> number >> type >> image.width >> image.height >> colour >> components >> bits >>
                encoding >> interpolate >> object >> id >> image.ppiX >> image.ppiY &&
            type == "image") {
            image.interpolated = interpolate == "yes";
            images.push_back(image);
        }
    }
    return images;
}

// Pictures go to the printer at no more than their own pixels, nor more than their boxes take
// at 300 dpi, and the printer stretches them over their boxes, smoothed: at any resolution a
// page of pictures prints in bounded memory and time. Scaled to the printer's pixels, a picture
// of 100 x 100 over a page took 1.1 GB and 15 s at 1200 dpi, and twelve cells of one picture
// half a gigabyte.
TEST(ReportPrinter, PicturesPrintAtNoMoreThanTheirOwnPixelsAtEveryResolution)
{
    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("small.png"), GreyPng(100, 100, 0x40));
    WriteWholeFile(folder.Path("large.png"), GreyPng(5000, 5000, 0x40));
    std::string cells;
    for (int i = 0; i < 12; ++i)
        cells += "<picture x=\"" + std::to_string(50 + i % 3 * 650) + "\" y=\"" + std::to_string(50 + i / 3 * 700) +
                 "\" width=\"600\" height=\"600\" mode=\"STRETCH\" filename=\"large.png\"/>";
    const struct {
        const char* name;
        std::string page;
        std::size_t images;
        int width;  // of each image in the PDF, and as high
        double boxMillimetres;
    } cases[] = {
        {"a small picture over the page",
         R"(<page><picture x="0" y="0" width="2000" height="2000" mode="STRETCH" filename="small.png"/></page>)", 1,
         100, 200.0},
        // 6 cm at 300 dpi: 709 pixels.
        {"twelve cells of one large picture", "<page>" + cells + "</page>", 12, 709, 60.0},
    };
    for (const auto& c : cases) {
        for (int dpi : {300, 600, 1200}) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(dpi) + " dpi");
            CReport document;
            ASSERT_TRUE(document.LoadFromString("<report>" + c.page + "</report>", folder.Path("")));
            const std::string pdf = folder.Path(std::to_string(c.images) + "pictures" + std::to_string(dpi) + ".pdf");
            wxPrintDialogData data(FilePrinterSettings(pdf, dpi));
            data.SetAllPages(true);
            CPrintDialogAnswer answer;
            ASSERT_TRUE(ResetPeakMemory());
            const long before = MemoryKiB();
            const auto start = std::chrono::steady_clock::now();
            ASSERT_TRUE(CReportPrinter::Print(document, "Report", true, &data));
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
            EXPECT_LT(PeakMemoryKiB() - before, 300 * 1024);
            const std::vector<SListedImage> images = ListImages(pdf);
            ASSERT_EQ(images.size(), c.images);
            const double ppi = c.width * 25.4 / c.boxMillimetres;
            for (const SListedImage& image : images) {
                EXPECT_LE(std::abs(image.width - c.width), 1);
                EXPECT_LE(std::abs(image.height - c.width), 1);
                EXPECT_TRUE(image.interpolated);
                EXPECT_NEAR(image.ppiX, ppi, 2.0);
                EXPECT_NEAR(image.ppiY, ppi, 2.0);
            }
        }
    }
}

// The colours at the middles of the quarters of what is drawn on a page rendered at 20 pixels
// per inch, as 0xRRGGBB: top-left, top-right, bottom-left, bottom-right.
std::vector<std::uint32_t> QuarterColours(const std::string& pdf, int page)
{
    const std::string ppm =
        RunTool({"pdftoppm", "-r", "20", "-f", std::to_string(page), "-l", std::to_string(page), pdf}).output;
    int width = 0;
    int height = 0;
    int max = 0;
    int consumed = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &width, &height, &max, &consumed) != 3 ||
        ppm.size() < static_cast<std::size_t>(consumed + 1 + width * height * 3))
        return {};
    const unsigned char* pixels = reinterpret_cast<const unsigned char*>(ppm.data()) + consumed + 1;
    const auto colour = [&](int x, int y) {
        const unsigned char* p = pixels + (static_cast<std::size_t>(y) * width + x) * 3;
        return static_cast<std::uint32_t>(p[0] << 16 | p[1] << 8 | p[2]);
    };
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (colour(x, y) != 0xFFFFFF) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    const int w = right - left + 1;
    const int h = bottom - top + 1;
    return {colour(left + w / 4, top + h / 4), colour(left + 3 * w / 4, top + h / 4), colour(left + w / 4, top + 3 * h / 4),
            colour(left + 3 * w / 4, top + 3 * h / 4)};
}

// A printed picture keeps its orientation on its page: on a landscape page, which prints turned
// a quarter counter-clockwise on a portrait sheet, it is turned with the page.
TEST(ReportPrinter, PrintedPicturesTurnWithTheirPage)
{
    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("four.png"), FourColourPng());
    const std::string pdf = folder.Path("four.pdf");
    CReport document;
    ASSERT_TRUE(document.LoadFromString(R"(<report>
      <page><picture x="200" y="200" width="1000" height="600" mode="STRETCH" filename="four.png"/></page>
      <page width="2970" height="2100" orientation="LANDSCAPE">
        <picture x="200" y="200" width="1000" height="600" mode="STRETCH" filename="four.png"/></page>
      </report>)", folder.Path("")));
    wxPrintDialogData data(FilePrinterSettings(pdf, 600));
    data.SetAllPages(true);
    CPrintDialogAnswer answer;
    ASSERT_TRUE(CReportPrinter::Print(document, "Report", true, &data));
    const std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, yellow = 0xFFFF00;
    EXPECT_EQ(QuarterColours(pdf, 1), (std::vector<std::uint32_t>{red, green, blue, yellow}));
    EXPECT_EQ(QuarterColours(pdf, 2), (std::vector<std::uint32_t>{green, yellow, red, blue}));
}

TEST(ReportPrinter, PrintsTheRangeOfTheDialogData)
{
    CTemporaryFolder folder;
    const std::string pdf = folder.Path("range.pdf");
    CReport document;
    ASSERT_TRUE(document.LoadFromString(kThreePages));
    wxPrintDialogData data(FilePrinterSettings(pdf));
    data.SetMinPage(1);
    data.SetMaxPage(3);
    data.SetFromPage(2);
    data.SetToPage(3);
    CPrintDialogAnswer answer;
    ASSERT_TRUE(CReportPrinter::Print(document, "Report", true, &data));
    ASSERT_EQ(PageCount(pdf), 2);
    // The job starts with the landscape page: its sheets are landscape and page 3 is turned.
    const wxSize landscape = DarkExtent(pdf, 1);
    const wxSize portrait = DarkExtent(pdf, 2);
    EXPECT_GT(landscape.x, 4 * landscape.y);
    EXPECT_GT(portrait.y, 4 * portrait.x);
}

// Pages chosen in the dialog itself, as one range or several: GTK and wx both applied them,
// which lost the pages past the ranges' length.
TEST(ReportPrinter, PrintsThePagesChosenInTheDialog)
{
    struct SCase {
        std::vector<std::pair<int, int>> chosen;
        bool firstTurned;
    };
    const SCase cases[] = {{{{2, 3}}, true}, {{{1, 1}, {3, 3}}, false}};
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.chosen.size());
        CTemporaryFolder folder;
        const std::string pdf = folder.Path("chosen.pdf");
        CReport document;
        ASSERT_TRUE(document.LoadFromString(kThreePages));
        wxPrintDialogData data(FilePrinterSettings(pdf));
        data.SetAllPages(true);
        CPrintDialogAnswer answer(c.chosen);
        ASSERT_TRUE(CReportPrinter::Print(document, "Report", true, &data));
        EXPECT_TRUE(answer.answered);
        ASSERT_EQ(PageCount(pdf), 2);
        // Portrait sheets: the landscape page is turned, its bar running down the sheet.
        const wxSize first = DarkExtent(pdf, 1);
        const wxSize second = DarkExtent(pdf, 2);
        EXPECT_EQ(first.y > 4 * first.x, c.firstTurned);
        EXPECT_GT(second.x, 4 * second.y);
    }
}

// The printed words stand where the export has them, as large and in the same colour, at a
// printer's resolution low, middle and high.
TEST(ReportPrinter, PrintsTextAsTheExportHasIt)
{
    CTemporaryFolder folder;
    CReport document;
    ASSERT_TRUE(document.LoadFromString(kTexts));
    document.Paginate();
    const std::string exported = folder.Path("export.pdf");
    ASSERT_NE(CReportExporterPdf().Export(&document, exported), 0);
    const std::vector<SPdfPage> expected = ReadPdfWords(exported);
    ASSERT_EQ(expected.size(), 2u);
    ASSERT_NE(FindPdfWord(expected[0], "Report"), nullptr);
    for (int dpi : {72, 300, 600}) {
        SCOPED_TRACE(dpi);
        const std::string pdf = folder.Path("printed" + std::to_string(dpi) + ".pdf");
        wxPrintDialogData data(FilePrinterSettings(pdf, dpi));
        data.SetAllPages(true);
        CPrintDialogAnswer answer;
        ASSERT_TRUE(CReportPrinter::Print(document, "Report", true, &data));
        const std::vector<SPdfPage> printed = ReadPdfWords(pdf);
        EXPECT_EQ(FaultList(CompareWordLayout(expected, printed)), "");
        // The title has no colour of its own: black on the white page.
        ASSERT_EQ(printed.size(), 2u);
        const SPdfWord* title = FindPdfWord(printed[0], "Report");
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->colour, 0);
    }
}

// Html text takes the desktop's text colour where its mark-up gives none; a dark desktop's is
// light, which on white paper could not be read: printed, such text is black.
TEST(ReportPrinter, PrintsHtmlTextWithoutAColourInBlackUnderADarkDesktop)
{
    CDarkDesktopScope dark;
    ASSERT_GT(CReportPainter::DesktopTextColor() & 0xFF, 0x80u);
    CTemporaryFolder folder;
    const std::string pdf = folder.Path("html.pdf");
    CReport document;
    ASSERT_TRUE(document.LoadFromString(R"(<report><page>
      <htmltext x="100" y="100" width="1500" height="300" fontname="Body">Plain &lt;b&gt;bold&lt;/b&gt; &lt;font color='#C00000'&gt;red&lt;/font&gt; wörds</htmltext>
      </page><font fontname="Body" typeface="Arial" fontsize="12pt"/></report>)"));
    wxPrintDialogData data(FilePrinterSettings(pdf, 300));
    data.SetAllPages(true);
    CPrintDialogAnswer answer;
    ASSERT_TRUE(CReportPrinter::Print(document, "Report", true, &data));
    const std::vector<SPdfPage> printed = ReadPdfWords(pdf);
    ASSERT_EQ(printed.size(), 1u);
    for (const auto& [word, colour] : std::vector<std::pair<std::string, std::int32_t>>{
             {"Plain", 0}, {"bold", 0}, {"red", 0xC00000}, {"wörds", 0}}) {
        SCOPED_TRACE(word);
        const SPdfWord* found = FindPdfWord(printed[0], word);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->colour, colour);
    }
}

TEST(ReportPrinter, NothingToPrintWithoutPages)
{
    CTemporaryFolder folder;
    CReport empty;
    EXPECT_FALSE(CReportPrinter::PrintToDefaultPrinter(empty, "Report", FilePrinterSettings(folder.Path("none.pdf"))));
    EXPECT_TRUE(ReadWholeFile(folder.Path("none.pdf")).empty());
}

// Printing straight to the desktop's default printer, with no dialog on the way: the job the
// printer gets holds every page.
TEST(ReportPrinter, PrintsToTheDefaultPrinterWithoutADialog)
{
    CTestPrintServer server;
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    CReport document;
    ASSERT_TRUE(document.LoadFromString(kThreePages));
    ASSERT_TRUE(CReportPrinter::PrintToDefaultPrinter(document, "Report", wxPrintData()));
    const std::string job = server.WaitForJob(120);
    ASSERT_FALSE(job.empty());
    EXPECT_EQ(PageCount(job), 3);
}

}  // namespace
