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

#include <cstdio>
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
