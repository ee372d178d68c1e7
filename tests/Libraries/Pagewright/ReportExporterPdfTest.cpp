#include "Pagewright/Report.h"
#include "Pagewright/ReportExporterPdf.h"
#include "Pagewright/ReportPicture.h"
#include "Pagewright/TrueTypeFontMetrics.h"
#include "Platform/AtomicFile.h"
#include "support/LocaleScope.h"
#include "support/PdfWordLayout.h"
#include "support/Process.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

// A 24-bit BMP, bottom row first unless topDown (a negative height), rows padded to four bytes;
// pixels given top row first as RGB.
std::string Bmp24(int width, int height, const std::vector<std::uint32_t>& rgb, bool topDown = false)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string b(54 + stride * height, '\0');
    auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b[at + i] = static_cast<char>(v >> (8 * i) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<std::uint32_t>(b.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, width, 4);
    put(22, static_cast<std::uint32_t>(topDown ? -height : height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = rgb[row * width + x];
            const std::size_t at = 54 + static_cast<std::size_t>(topDown ? row : height - 1 - row) * stride + 3 * x;
            b[at] = static_cast<char>(c & 0xFF);            // blue
            b[at + 1] = static_cast<char>(c >> 8 & 0xFF);   // green
            b[at + 2] = static_cast<char>(c >> 16 & 0xFF);  // red
        }
    }
    return b;
}

const std::vector<std::uint32_t> kPixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0x000000};

const char kReport[] = R"(<report>
  <page>
    <text x="100" y="100" width="1000" height="60" fontname="Body">Größe (DN 50)</text>
    <text x="100" y="200" width="1000" height="60" fontname="Body" color="#336699">colour one</text>
    <text x="100" y="300" width="1000" height="60" fontname="Body" color="#336699">colour two</text>
    <text x="1500" y="1500" width="400" height="60" fontname="Bold" angle="900">turned</text>
    <text x="100" y="400" width="300" height="200" fontname="Body" multiline="TRUE">one two three four five six seven</text>
    <text x="100" y="700" width="1000" height="60" fontname="Unknown">no font of its own</text>
    <text x="100" y="750" width="1000" height="60" fontname="Body">5 € ≈ 漢</text>
    <line x="100" y="800" x2="1900" y2="800" color="#808080" penwidth="3"/>
    <rectangle x="100" y="850" width="500" height="100" bordercolor="#000000" fillcolor="#ffcc00"/>
    <rectangle x="700" y="850" width="500" height="100" angle="300"/>
    <picture x="0" y="2000" width="1050" height="700" filename="tiny.bmp"/>
    <picture x="1200" y="2000" width="300" height="200" filename="tiny.bmp"/>
    <htmltext x="100" y="1000" width="1500" height="200" fontname="Body">plain &lt;b&gt;bold&lt;/b&gt; &lt;font face='Times New Roman'&gt;serif&lt;/font&gt;</htmltext>
    <table x="100" y="1300" width="1200" height="200" rowheight="100" name="T">
      <column name="A" width="400"><text fontname="Body">$COLUMN_VARIABLE</text></column>
      <column name="B" width="400"><htmltext>&lt;font face='Courier New'&gt;$COLUMN_VARIABLE&lt;/font&gt;</htmltext></column>
      <column name="C" width="400"><picture filename="cell.bmp"/></column>
    </table>
  </page>
  <page><text x="100" y="100" width="1000" height="60" fontname="Body">second page</text>
    <text x="100" y="200" width="1000" height="60" fontname="Type1">type one</text></page>
  <font fontname="Body" typeface="Arial" fontsize="10pt"/>
  <font fontname="Bold" typeface="Arial" fontsize="12pt" isbold="TRUE"/>
  <font fontname="Type1" typeface="NimbusSans-Regular" fontsize="10pt"/>
</report>)";

class ReportExporterPdfTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteWholeFile(m_folder.Path("tiny.bmp"), Bmp24(3, 2, kPixels));
        WriteWholeFile(m_folder.Path("topdown.bmp"), Bmp24(3, 2, kPixels, true));
        WriteWholeFile(m_folder.Path("cell.bmp"), Bmp24(1, 1, {0x808080}));
    }

    // The document loaded, filled and paginated, written to report.pdf.
    void Export(const std::string& text)
    {
        ASSERT_TRUE(m_document.LoadFromString(text, m_folder.Path("")));
        m_document.SetVariable("T.A.1", "first cell");
        m_document.SetVariable("T.B.1", "mono cell");
        m_document.Paginate();
        ASSERT_EQ(m_exporter.Export(&m_document, Pdf()), 1);
        m_pdf = ReadWholeFile(Pdf());
        ASSERT_EQ(m_pdf, m_exporter.GetOutput());
        ExpectReadersAccept();
    }
    // qpdf finds no fault, and poppler and MuPDF read and render every page without a word.
    void ExpectReadersAccept()
    {
        const SToolRun check = RunTool({"qpdf", "--check", Pdf()});
        EXPECT_EQ(check.status, 0) << check.output << check.errors;
        const SToolRun info = RunTool({"pdfinfo", Pdf()});
        EXPECT_EQ(info.status, 0);
        EXPECT_EQ(info.errors, "");
        const SToolRun poppler = RunTool({"pdftoppm", "-r", "30", Pdf(), m_folder.Path("page")});
        EXPECT_EQ(poppler.status, 0);
        EXPECT_EQ(poppler.errors, "");
        const SToolRun mupdf = RunTool({"mutool", "draw", "-q", "-N", "-r", "30", "-o", m_folder.Path("mu%d.png"), Pdf()});
        EXPECT_EQ(mupdf.status, 0);
        EXPECT_EQ(mupdf.errors, "");
    }
    std::string Pdf() const { return m_folder.Path("report.pdf"); }
    // Every stream of the file decompressed, as qpdf's editing form has them.
    std::string Uncompressed()
    {
        const SToolRun qdf = RunTool({"qpdf", "--qdf", "--object-streams=disable", Pdf(), "-"});
        EXPECT_EQ(qdf.status, 0) << qdf.errors;
        return qdf.output;
    }

    CTemporaryFolder m_folder;
    CReport m_document;
    CReportExporterPdf m_exporter;
    std::string m_pdf;
};

TEST_F(ReportExporterPdfTest, ReadersAcceptTheFileAndFindItsTextAndFonts)
{
    Export(kReport);
    EXPECT_EQ(m_pdf.compare(0, 9, "%PDF-1.3\n"), 0);
    EXPECT_EQ(m_pdf.substr(m_pdf.size() - 6), "%%EOF\n");
    const SToolRun info = RunTool({"pdfinfo", Pdf()});
    EXPECT_NE(info.output.find("Pages:           2\n"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("595.276 x 841.89"), std::string::npos) << info.output;
    EXPECT_EQ(info.errors, "");

    const SToolRun fonts = RunTool({"pdffonts", Pdf()});
    EXPECT_NE(fonts.output.find("Arial                                TrueType          WinAnsi"), std::string::npos)
        << fonts.output;
    EXPECT_NE(fonts.output.find("Arial,Bold"), std::string::npos) << fonts.output;
    EXPECT_NE(fonts.output.find("NimbusSans-Regular                   Type 1            WinAnsi"), std::string::npos)
        << fonts.output;
    // Fonts that only html text and table cells name are described too.
    EXPECT_NE(fonts.output.find("Times New Roman                      TrueType"), std::string::npos) << fonts.output;
    EXPECT_NE(fonts.output.find("Courier New                          TrueType"), std::string::npos) << fonts.output;

    const SToolRun text = RunTool({"pdftotext", "-layout", Pdf(), "-"});
    EXPECT_NE(text.output.find("Größe (DN 50)"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find("second page"), std::string::npos);
    EXPECT_NE(text.output.find("type one"), std::string::npos);
    EXPECT_NE(text.output.find("first cell"), std::string::npos);
    EXPECT_NE(text.output.find("mono cell"), std::string::npos);
    EXPECT_NE(text.output.find("serif"), std::string::npos);
}

TEST_F(ReportExporterPdfTest, ContentStreamOperators)
{
    Export(kReport);
    const std::string content = Uncompressed();
    // Grey 128 strokes in the grey form.
    EXPECT_NE(content.find("0.502000 G\n"), std::string::npos);
    // The turned text: cos, sin, -sin, cos of 90 degrees, then the translation.
    EXPECT_NE(content.find("0.000000 1.000000 -1.000000 0.000000 425.197000 "), std::string::npos);
    // Two texts of one colour write it once; parentheses are escaped.
    std::size_t count = 0;
    for (std::size_t at = 0; (at = content.find("0.200000 0.400000 0.600000 rg", at)) != std::string::npos; ++at)
        ++count;
    EXPECT_EQ(count, 1u);
    EXPECT_NE(content.find("(Gr\xF6\xDF" "e \\(DN 50\\))'"), std::string::npos);
    // Characters Windows-1252 lacks become '?'.
    EXPECT_NE(content.find("(5 \\200 ? ?)'"), std::string::npos);  // qpdf writes the euro byte in octal
    // A text whose font the document lacks takes the first font there is.
    const std::size_t lacking = content.find("(no font of its own)'");
    ASSERT_NE(lacking, std::string::npos);
    EXPECT_NE(content.rfind("/F1 10.000000 Tf", lacking), std::string::npos);
    // Multi-line text breaks at spaces, one line below the other.
    EXPECT_NE(content.find("(one two three four)'\nET\nBT\n28.346000 708.504000 Td\n(five six seven)'"),
              std::string::npos);
}

// A text that does not fit its box is written smaller until its lines do; the same text
// without the flag keeps its size.
TEST_F(ReportExporterPdfTest, ShrinkToFitWritesTheTextSmallerUntilItsLinesFit)
{
    Export(R"(<report><page>
      <text x="100" y="100" width="300" height="60" fontname="Body" multiline="TRUE" shrinktofit="TRUE">alpha beta gamma delta epsilon zeta eta</text>
      <text x="100" y="300" width="300" height="60" fontname="Body" multiline="TRUE">theta iota kappa lambda</text>
      </page><font fontname="Body" typeface="Arial" fontsize="10pt"/></report>)");
    const std::string content = Uncompressed();
    const auto sizeBefore = [&content](const std::string& word) {
        const std::size_t at = content.find(word);
        const std::size_t tf = content.rfind(" Tf", at);
        const std::size_t start = content.rfind(' ', tf - 1);
        return std::atof(content.substr(start + 1, tf - start - 1).c_str());
    };
    const double shrunk = sizeBefore("(alpha");
    EXPECT_LT(shrunk, 10.0);
    EXPECT_GE(shrunk, 2.5);
    EXPECT_DOUBLE_EQ(sizeBefore("(theta"), 10.0);
    // Its lines, one size apart, end above the box's bottom (60 tenths are 17.0 points).
    std::string written;
    std::size_t lines = 0;
    for (std::size_t at = content.find("(alpha"); at != std::string::npos && at < content.find("(theta");
         at = content.find('(', at + 1)) {
        written += (written.empty() ? "" : " ") + content.substr(at + 1, content.find(")'", at) - at - 1);
        ++lines;
    }
    EXPECT_EQ(written, "alpha beta gamma delta epsilon zeta eta");
    EXPECT_LE(shrunk * static_cast<double>(lines), 60 / 254.0 * 72.0);
    const SToolRun text = RunTool({"pdftotext", Pdf(), "-"});
    EXPECT_NE(text.output.find("epsilon"), std::string::npos) << text.output;
}

// A long text that shrinks to fit is broken again at every size it tries: 4 KB of it without a
// line feed, too much for its box even at a quarter of its size, export well under a second
// (in milliseconds; bench/textbreak_bench has the figures).
TEST_F(ReportExporterPdfTest, LongTextsThatShrinkToFitExportInAMoment)
{
    std::string text;
    for (int word = 0; text.size() < 4096; ++word)
        text += std::to_string(word % 10) + " ";
    ASSERT_TRUE(m_document.LoadFromString(R"(<report><page>
      <text x="100" y="100" width="200" height="400" fontname="Body" multiline="TRUE" shrinktofit="TRUE">)" + text +
                                          R"(</text></page><font fontname="Body" typeface="Arial" fontsize="10pt"/></report>)"));
    m_document.Paginate();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(m_exporter.Export(&m_document, Pdf()), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_NE(Uncompressed().find("(0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6)'\n"), std::string::npos);
}

// The page's borders move whatever it holds, table cells and their borders included: 100 and
// 50 tenths are 28.346 and 14.173 points, the A4 page 841.89 high.
TEST_F(ReportExporterPdfTest, PageBordersMoveTheElements)
{
    Export(R"(<report><page leftborder="100" topborder="50">
      <line x="0" y="0" x2="1000" y2="0"/>
      <text x="0" y="0" width="1000" height="60" fontname="Body">moved</text>
      <table x="0" y="100" width="400" height="100" rowheight="100" name="T">
        <column name="A" width="400" borderthickness="0;10;0;0"><text fontname="Body">$COLUMN_VARIABLE</text></column>
      </table></page>
      <font fontname="Body" typeface="Arial" fontsize="10pt"/></report>)");
    const std::string content = Uncompressed();
    EXPECT_NE(content.find("28.346000 827.717000 m\n311.811000 827.717000 l\n"), std::string::npos) << content;
    EXPECT_NE(content.find("28.346000 817.717000 Td\n(moved)'"), std::string::npos) << content;
    EXPECT_NE(content.find("28.346000 789.370000 Td\n(first cell)'"), std::string::npos) << content;
    EXPECT_NE(content.find("28.346000 771.024000 m\n28.346000 799.370000 l\n"), std::string::npos) << content;
}

// Only the rows that reach into the page are written, each empty one with its border; a table
// billions of rows tall costs no more than the page it stands on (2970 tenths high).
TEST_F(ReportExporterPdfTest, TableRowsStopAtTheEdgesOfThePage)
{
    struct SCase {
        const char* y;
        const char* height;
        const char* rowHeight;
        std::size_t borders;
    };
    const SCase cases[] = {
        {"2900", "2147483647", "1", 70},
        {"2900", "3000", "10", 7},   // the seventh row ends on the page's edge
        {"-25", "100", "10", 8},     // two rows lie wholly above the page
        {"100", "100", "30", 3},     // the table's own height bounds it first
        {"3000", "100", "10", 0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.y + std::string(" ") + c.height + " " + c.rowHeight);
        Export(std::string(R"(<report><page><table x="100" y=")") + c.y + R"(" width="400" height=")" +
                   c.height + R"(" rowheight=")" + c.rowHeight + R"(" name="T">
            <column name="A" width="400" showborderalways="TRUE" borderthickness="0;1;0;0"/></table></page>
            <font fontname="Body" typeface="Arial" fontsize="10pt"/></report>)");
        const std::string content = Uncompressed();
        std::size_t borders = 0;
        for (std::size_t at = 0; (at = content.find(" l\nS\n", at)) != std::string::npos; ++at)
            ++borders;
        EXPECT_EQ(borders, c.borders);
    }
}

// Tables nested 600 deep, each in the one column of the level above, 148 rows of 20 at the top
// and one row below: every cell's table shares the columns of its prototype, so the writer lays
// out each level once per row instead of copying all the levels below it, and the innermost text
// is written once in each row.
TEST_F(ReportExporterPdfTest, NestedTablesAreWrittenWithoutCopyingTheLevelsBelow)
{
    constexpr int kLevels = 600;
    std::string text = "<report><page>";
    for (int i = 0; i < kLevels; ++i)
        text += i == 0 ? "<table width='1000' height='2970' rowheight='20'><column width='1000'>"
                       : "<table height='2970' rowheight='20'><column width='1000'>";
    text += "<text fontname='Body'>deep</text>";
    for (int i = 0; i < kLevels; ++i)
        text += "</column></table>";
    text += "</page><font fontname='Body' typeface='Arial' fontsize='10pt'/></report>";
    ASSERT_TRUE(m_document.LoadFromString(text));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(m_document.Paginate());
    ASSERT_EQ(m_exporter.Export(&m_document, Pdf()), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    ExpectReadersAccept();
    const std::string content = Uncompressed();
    std::size_t texts = 0;
    for (std::size_t at = 0; (at = content.find("(deep)'", at)) != std::string::npos; ++at)
        ++texts;
    EXPECT_EQ(texts, 2970u / 20);
}

TEST_F(ReportExporterPdfTest, PicturesOfOneFileShareOneImage)
{
    Export(kReport);
    std::size_t images = 0;
    for (std::size_t at = 0; (at = m_pdf.find("/Subtype /Image", at)) != std::string::npos; ++at)
        ++images;
    EXPECT_EQ(images, 2u);  // tiny.bmp and the table's cell picture
    const std::string content = Uncompressed();
    std::size_t draws = 0;
    const std::size_t first = content.find(" Do\n");
    ASSERT_NE(first, std::string::npos);
    const std::size_t nameStart = content.rfind('/', first);
    const std::string draw = content.substr(nameStart, first + 3 - nameStart);
    for (std::size_t at = 0; (at = content.find(draw, at)) != std::string::npos; ++at)
        ++draws;
    EXPECT_EQ(draws, 2u) << draw;
}

// A picture past the pixel bound is none, here as on screen and paper: the file holds no image
// for it and draws nothing where it stands, whatever kind it is.
TEST_F(ReportExporterPdfTest, PicturesBeyondThePixelBoundAreLeftOut)
{
    std::string huge("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x65\x90\0\0\x65\x90\x08\x02\0\0\0", 29);
    WriteWholeFile(m_folder.Path("huge.png"), huge);
    std::string wide = Bmp24(1, 1, {0x808080});
    wide.replace(18, 8, std::string("\x89\x13\0\0\x88\x13\0\0", 8));  // 5001 x 5000, 24 bits a pixel
    WriteWholeFile(m_folder.Path("wide.bmp"), wide);
    Export(R"(<report><page><picture x="0" y="0" width="1000" height="1000" filename="huge.png"/>
      <picture x="0" y="1000" width="1000" height="1000" filename="wide.bmp"/>
      <picture x="1000" y="0" width="300" height="200" filename="tiny.bmp"/></page></report>)");
    for (std::size_t i : {0, 1})
        EXPECT_EQ(dynamic_cast<const CReportPicture&>(*m_document.GetPage(0)->elements.at(i)).GetImage(), nullptr);
    std::size_t images = 0;
    for (std::size_t at = 0; (at = m_pdf.find("/Subtype /Image", at)) != std::string::npos; ++at)
        ++images;
    EXPECT_EQ(images, 1u);
    const std::string content = Uncompressed();
    std::size_t draws = 0;
    for (std::size_t at = 0; (at = content.find(" Do\n", at)) != std::string::npos; ++at)
        ++draws;
    EXPECT_EQ(draws, 1u);
}

// The odd width makes the bitmap's rows padded; the file's rows must not be. However it is
// aligned, the picture lands where screen and paper show it: its x and y are the anchor of the
// alignment. A bitmap stored top row first shows the same.
TEST_F(ReportExporterPdfTest, OddWidthImageShowsItsPixels)
{
    const struct {
        const char* placement;
        const char* file;
    } cases[] = {
        {R"(x="0" y="0")", "tiny.bmp"},
        {R"(x="1050" y="700" alignx="RIGHT" aligny="BOTTOM")", "tiny.bmp"},
        {R"(x="525" y="350" alignx="CENTER" aligny="CENTER")", "tiny.bmp"},
        {R"(x="0" y="0")", "topdown.bmp"},
    };
    for (const auto& [placement, file] : cases) {
        SCOPED_TRACE(std::string(placement) + " " + file);
        Export(std::string("<report><page><picture ") + placement + R"( width="1050" height="700" filename=")" +
               file + R"("/></page></report>)");
        const auto& picture = dynamic_cast<const CReportPicture&>(*m_document.GetPage(0)->elements.at(0));
        int x = picture.x;
        int y = picture.y;
        int width = 0;
        int height = 0;
        picture.GetPlacement(x, y, width, height);
        EXPECT_EQ(x, 0);
        EXPECT_EQ(y, 0);

        const SToolRun render = RunTool({"pdftoppm", "-r", "72", "-f", "1", "-l", "1", Pdf()});
        ASSERT_EQ(render.status, 0);
        // "P6\n595 842\n255\n" and the pixels.
        const std::string& ppm = render.output;
        std::size_t at = 0;
        for (int fields = 0; fields < 4; ++fields)
            at = ppm.find_first_of(" \n", at) + 1;
        ASSERT_LT(at, ppm.size());
        const int pageWidth = std::stoi(ppm.substr(3));
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 3; ++column) {
                const std::size_t pixel =
                    at + 3 * (static_cast<std::size_t>(50 + 99 * row) * pageWidth + 50 + 99 * column);
                ASSERT_LT(pixel + 2, ppm.size());
                const std::uint32_t rgb = static_cast<unsigned char>(ppm[pixel]) << 16 |
                                          static_cast<unsigned char>(ppm[pixel + 1]) << 8 |
                                          static_cast<unsigned char>(ppm[pixel + 2]);
                EXPECT_EQ(rgb, kPixels[row * 3 + column]) << row << "," << column;
            }
        }
    }
}

// Only 24-bit bitmaps become images; other pictures draw nothing.
TEST_F(ReportExporterPdfTest, PictureThatIsNoBitmapIsLeftOut)
{
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0", 29);
    png += std::string(4, '\0');
    WriteWholeFile(m_folder.Path("photo.png"), png);
    Export(R"(<report><page><picture x="0" y="0" width="100" height="100" filename="photo.png"/>
              <picture x="200" y="0" width="100" height="100" filename="photo.png"/></page></report>)");
    const auto& picture = dynamic_cast<const CReportPicture&>(*m_document.GetPage(0)->elements.at(0));
    ASSERT_TRUE(picture.GetImage());
    EXPECT_EQ(m_pdf.find("/Subtype /Image"), std::string::npos);
    EXPECT_EQ(m_pdf.find("/XObject"), std::string::npos);
    EXPECT_EQ(Uncompressed().find(" Do"), std::string::npos);
}

TEST_F(ReportExporterPdfTest, WithoutAnyFontNoTextIsWritten)
{
    Export(R"(<report><page><text x="0" y="0" width="500" height="50" fontname="F">lost</text></page>
              <font fontname="F" typeface="No Such Family Anywhere" fontsize="10pt"/></report>)");
    EXPECT_EQ(Uncompressed().find("BT"), std::string::npos);
    EXPECT_EQ(m_pdf.find("/Type /Font"), std::string::npos);
}

// No reader opens a page tree without pages: such a document is not written at all.
TEST_F(ReportExporterPdfTest, DocumentWithoutPagesIsNotWritten)
{
    ASSERT_TRUE(m_document.LoadFromString(R"(<report><font fontname="F" typeface="Arial" fontsize="10pt"/></report>)"));
    m_document.Paginate();
    WriteWholeFile(Pdf(), "old");
    EXPECT_EQ(m_exporter.Export(&m_document, Pdf()), 0);
    EXPECT_EQ(ReadWholeFile(Pdf()), "old");

    // Nor is a document that was never paginated.
    CReport unpaginated;
    ASSERT_TRUE(unpaginated.LoadFromString("<report><page/></report>"));
    EXPECT_EQ(m_exporter.Export(&unpaginated, m_folder.Path("unpaginated.pdf")), 0);
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path("unpaginated.pdf")));
}

TEST_F(ReportExporterPdfTest, FailedWriteLeavesTheOldFileAndReportsFailure)
{
    ASSERT_TRUE(m_document.LoadFromString(kReport, m_folder.Path("")));
    m_document.Paginate();
    WriteWholeFile(Pdf(), "old");
    CAtomicFile::SetHookForTesting([](CAtomicFile::Step step) { return step == CAtomicFile::Step::Write ? ENOSPC : 0; });
    const int result = m_exporter.Export(&m_document, Pdf());
    CAtomicFile::SetHookForTesting({});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadWholeFile(Pdf()), "old");
    EXPECT_EQ(m_exporter.Export(nullptr, Pdf()), 0);
    EXPECT_EQ(m_exporter.Export(&m_document, m_folder.Path("missing/report.pdf")), 0);
}

struct SStyleCase {
    const char* bold;    // the font's isbold
    const char* italic;  // and isitalic
    const char* face;    // the typeface of the file that draws it
    const char* baseFont;
    int flags;  // nonsymbolic, with italic and bold as the face's file has them
};

class ExportedStyle : public ReportExporterPdfTest, public testing::WithParamInterface<SStyleCase> {};

// A reader draws a styled text with the widths the file gives its font: these must be the
// advances of the face that draws it, or bold letters crowd and every word after the first
// stands off. Left, centred and right, as the writer measures the line to align it.
TEST_P(ExportedStyle, WordsStandWhereItsFaceDrawsThem)
{
    const SStyleCase& c = GetParam();
    Export(std::string(R"(<report><page>
      <text x="100" y="100" width="1800" height="80" fontname="Heading">Customer data</text>
      <text x="100" y="300" width="1800" height="80" fontname="Heading" align="CENTER">Customer data</text>
      <text x="100" y="500" width="1800" height="80" fontname="Heading" align="RIGHT">Customer data</text>
      </page><font fontname="Heading" typeface="Arial" fontsize="14pt" isbold=")") +
           c.bold + R"(" isitalic=")" + c.italic + R"("/></report>)");
    CTrueTypeFontMetrics face;
    ASSERT_TRUE(face.Load(c.face));
    const double size = 14.0;
    const double left = 100 / 254.0 * 72;
    const double right = 1900 / 254.0 * 72;
    const std::vector<SPdfPage> pages = ReadPdfWords(Pdf());
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].words.size(), 6u);
    for (std::size_t line = 0; line < 3; ++line) {
        SCOPED_TRACE(line);
        const SPdfWord& customer = pages[0].words[2 * line];
        const SPdfWord& data = pages[0].words[2 * line + 1];
        ASSERT_EQ(customer.text, "Customer");
        ASSERT_EQ(data.text, "data");
        EXPECT_NEAR(data.xMin - customer.xMin, face.GetStringWidth("Customer ", size), 0.01);
        EXPECT_NEAR(data.xMax - customer.xMin, face.GetStringWidth("Customer data", size), 0.01);
        // The writer aligns by the line's width in whole points.
        const double width = face.GetStringWidth("Customer data", size);
        if (line == 0)
            EXPECT_NEAR(customer.xMin, left, 0.01);
        else if (line == 1)
            EXPECT_NEAR(customer.xMin, (left + right - width) / 2, 1.0);
        else
            EXPECT_NEAR(customer.xMin, right - width, 1.0);
    }
    // The font keeps the typeface's name with the style added; its descriptor is the face's.
    const std::string& pdf = m_pdf;
    EXPECT_NE(pdf.find(std::string("/BaseFont /") + c.baseFont + "\n"), std::string::npos) << c.baseFont;
    const std::string descriptor = std::string("/FontName /") + c.baseFont + "\n/Flags " + std::to_string(c.flags) +
                                   "\n/FontBBox [" + std::to_string(face.bboxLeft) + " " +
                                   std::to_string(face.bboxBottom) + " " + std::to_string(face.bboxRight) + " " +
                                   std::to_string(face.bboxTop) + "]\n/StemV 80\n/ItalicAngle " +
                                   std::to_string(face.italicAngle) + "\n/CapHeight " + std::to_string(face.capHeight) +
                                   "\n/Ascent " + std::to_string(face.ascent) + "\n";
    EXPECT_NE(pdf.find(descriptor), std::string::npos) << descriptor;
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ExportedStyle,
    testing::Values(SStyleCase{"FALSE", "FALSE", "Liberation Sans", "Arial", 32},
                    SStyleCase{"TRUE", "FALSE", "Liberation Sans Bold", "Arial,Bold", 32 | 0x40000},
                    SStyleCase{"FALSE", "TRUE", "Liberation Sans Italic", "Arial,Italic", 32 | 0x40},
                    SStyleCase{"TRUE", "TRUE", "Liberation Sans Bold Italic", "Arial,BoldItalic", 32 | 0x40 | 0x40000}));

// The backward rule as it was first written: while the line is wider than the box, the part from
// its last blank after the first character is moved in front of the rest of the text, as a line
// of its own; one leading blank of each line is dropped afterwards. Kept as the reference of
// the lines a text must get.
std::vector<std::string> ReferenceLines(const CFontMetrics& metrics, const std::string& content, double size,
                                        double boxWidth, bool multiline)
{
    std::vector<std::string> lines;
    std::string rest = content;
    bool more = true;
    while (more) {
        const std::size_t feed = rest.find('\n');
        std::string line = rest.substr(0, feed);
        rest = feed == std::string::npos ? std::string() : rest.substr(feed + 1);
        more = feed != std::string::npos;
        if (multiline) {
            std::string moved;
            std::size_t space;
            while (metrics.GetStringWidth(line, size) > boxWidth && (space = line.rfind(' ')) != std::string::npos &&
                   space > 0) {
                moved.insert(0, line, space, std::string::npos);
                line.resize(space);
            }
            if (!moved.empty()) {
                rest = more ? moved + "\n" + rest : moved;
                more = true;
            }
        }
        if (!line.empty() && line.front() == ' ')
            line.erase(0, 1);
        lines.push_back(line);
    }
    return lines;
}

// Metrics of the Windows-1252 codes from 32 with the widths given, every other code missing.
CFontMetrics Widths(std::vector<int> widths, int missing)
{
    CFontMetrics metrics;
    metrics.firstChar = 32;
    metrics.lastChar = 32 + static_cast<int>(widths.size()) - 1;
    metrics.widths = std::move(widths);
    metrics.missingWidth = missing;
    return metrics;
}

// Texts of words, runs of blanks, leading and trailing blanks, line feeds and words wider than
// most boxes, in the letters whose widths the metrics below vary.
std::string GeneratedText(std::mt19937& random)
{
    static const char kLetters[] = "aiMW.-\xE9\x01";
    std::string text;
    if (random() % 4 == 0)
        text.append(1 + random() % 3, ' ');
    const std::size_t length = random() % 160;
    while (text.size() < length) {
        const unsigned kind = random() % 10;
        if (kind < 5) {
            const std::size_t word = random() % 8 == 0 ? 20 + random() % 30 : 1 + random() % 9;
            for (std::size_t i = 0; i < word; ++i)
                text += kLetters[random() % (sizeof kLetters - 1)];
        } else if (kind < 9) {
            text.append(random() % 5 == 0 ? 2 + random() % 5 : 1, ' ');
        } else {
            text.append(1 + random() % 2, '\n');
        }
    }
    return text;
}

// The lines of the writer are those of the backward rule, whatever the text, the widths of its
// letters (none, negative and missing ones included), the size and the box.
TEST(ReportExporterPdf, LinesAreThoseOfTheBackwardRule)
{
    std::vector<int> proportional(224);
    for (int code = 32; code < 256; ++code)
        proportional[code - 32] = 100 + code * 37 % 900;
    proportional['i' - 32] = 0;
    proportional[' ' - 32] = 278;
    std::vector<int> negative = proportional;
    negative['.' - 32] = -400;
    negative[' ' - 32] = -50;
    CTrueTypeFontMetrics arial;
    ASSERT_TRUE(arial.Load("Arial"));
    const struct {
        const char* name;
        CFontMetrics metrics;
    } fonts[] = {
        {"proportional", Widths(proportional, 500)},
        {"negative widths", Widths(negative, -250)},
        {"fixed", Widths(std::vector<int>(224, 600), 600)},
        {"Arial", arial},
    };
    const double sizes[] = {10.0, 7.29, 2.5, 0.5, 100.0, 0.0, -10.0};
    const double boxes[] = {-1.0, 0.0, 3.0, 20.0, 55.5, 150.0, 1000.0};
    std::mt19937 random(20261211);
    int compared = 0;
    for (const auto& font : fonts) {
        for (int round = 0; round < 60; ++round) {
            const std::string text = GeneratedText(random);
            for (const double size : sizes) {
                for (const double box : boxes) {
                    for (const bool multiline : {true, false}) {
                        const auto expected = ReferenceLines(font.metrics, text, size, box, multiline);
                        const auto lines = CReportExporterPdf::BreakLines(font.metrics, text, size, box, multiline);
                        ++compared;
                        if (lines != expected) {
                            ADD_FAILURE() << font.name << ", size " << size << ", box " << box << ", multiline "
                                          << multiline << "\n[" << text << "]\nexpected "
                                          << testing::PrintToString(expected) << "\ngot " << testing::PrintToString(lines);
                            return;
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(compared, 4 * 60 * 7 * 7 * 2);
}

TEST(ReportExporterPdf, NumbersNamesAndStrings)
{
    CLocaleScope german("de_DE.UTF-8");
    EXPECT_EQ(CReportExporterPdf::FormatNumber(0.5), "0.500000");
    EXPECT_EQ(CReportExporterPdf::FormatNumber(128 / 255.0), "0.502000");
    EXPECT_EQ(CReportExporterPdf::FormatNumber(-1.23456), "-1.235000");
    EXPECT_EQ(CReportExporterPdf::FormatNumber(0.0005), "0.001000");
    // Beyond the thousandths a long long holds, still with '.' and six decimals, every digit kept.
    EXPECT_EQ(CReportExporterPdf::FormatNumber(-2e15), "-2000000000000000.000000");
    const std::string huge = CReportExporterPdf::FormatNumber(1e300);
    EXPECT_EQ(huge.size(), 301u + 7u);
    EXPECT_EQ(huge.substr(0, 4), "1000");
    EXPECT_EQ(huge.substr(huge.size() - 7), ".000000");
    EXPECT_EQ(CReportExporterPdf::EscapeName("Times New Roman"), "Times#20New#20Roman");
    EXPECT_EQ(CReportExporterPdf::EscapeName("a#(b)/<c>[d]{e}%"), "a#23#28b#29#2F#3Cc#3E#5Bd#5D#7Be#7D#25");
    EXPECT_EQ(CReportExporterPdf::EscapeName("\xE4\x7F\t"), "#E4#7F#09");
    EXPECT_EQ(CReportExporterPdf::EscapeString("a\\b(c)\rd"), "a\\\\b\\(c\\)\\rd");
}

}  // namespace
