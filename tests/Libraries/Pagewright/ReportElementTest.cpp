#include "Pagewright/Report.h"
#include "Pagewright/ReportColumn.h"
#include "Pagewright/ReportElementFactory.h"
#include "Pagewright/ReportHtmlText.h"
#include "Pagewright/ReportImage.h"
#include "Pagewright/ReportLine.h"
#include "Pagewright/ReportPicture.h"
#include "Pagewright/ReportPictureFiles.h"
#include "Pagewright/ReportRectangle.h"
#include "Pagewright/ReportText.h"
#include "Glyphora/RichTextRunList.h"
#include "Platform/ResourceRegistry.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <climits>
#include <cstdlib>

namespace {

// The start of a PNG file: enough for its size.
std::string PngHeader(unsigned width, unsigned height)
{
    std::string bytes("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    for (unsigned value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>((value >> shift) & 0xFF);
    return bytes + std::string(5, '\0');
}

TEST(ReportElement, SizedElementsClampIntoARectangle)
{
    CReportText text;
    text.x = -5;
    text.y = 50;
    text.width = 0;
    text.height = 500;
    text.ClampToRect(0, 0, 100, 200);
    EXPECT_EQ(text.x, 0);
    EXPECT_EQ(text.y, 50);
    EXPECT_EQ(text.width, 100);   // no size: the rectangle's
    EXPECT_EQ(text.height, 150);  // shrunk to fit

    CReportLine line(-10, 5, 300, 40, 0, 1);
    line.Move(5, 5);
    EXPECT_EQ(line.x, -5);
    EXPECT_EQ(line.y2, 45);
    line.ClampToRect(0, 0, 100, 100);
    EXPECT_EQ(line.x, 0);
    EXPECT_EQ(line.x2, 100);
    EXPECT_EQ(line.y2, 45);
}

// A template may put a line's ends at the ends of the int range: its region stops there.
TEST(ReportElement, LineRegionsAtTheEndsOfTheRangeStopThere)
{
    const struct {
        int x1, y1, x2, y2;
    } cases[] = {{INT_MAX, 0, INT_MAX, 0}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MAX, INT_MIN, INT_MIN, INT_MAX}};
    for (const auto& c : cases) {
        const CReportLine line(c.x1, c.y1, c.x2, c.y2, 0, 20);
        const ReportRegion region = line.MakeRegion(1.0);
        ASSERT_EQ(region.size(), 1u);
        ASSERT_EQ(region[0].size(), 4u);
        // Each corner lies within 10 units (half the pen) of an end, or at the range's end.
        const auto nearAnEnd = [](long long at, int end1, int end2) {
            return at == INT_MAX || at == INT_MIN || std::llabs(at - end1) <= 10 || std::llabs(at - end2) <= 10;
        };
        for (const SReportPoint& corner : region[0]) {
            EXPECT_TRUE(nearAnEnd(corner.x, c.x1, c.x2)) << corner.x;
            EXPECT_TRUE(nearAnEnd(corner.y, c.y1, c.y2)) << corner.y;
        }
    }
}

TEST(ReportElement, DrawingCoordinatesAddTheBordersAndPointUp)
{
    CReportPage page;
    page.leftBorder = 100;
    page.topBorder = 50;
    CReportText text;
    EXPECT_EQ(text.ToDrawX(10, 2.0), 10);  // no page: unchanged
    text.SetOwner(&page);
    EXPECT_EQ(text.ToDrawX(10, 2.0), 220);
    EXPECT_EQ(text.ToDrawY(10, 0.5), -29);  // -30 + 0.5 truncated toward zero

    text.width = 100;
    text.height = 20;
    auto corners = text.GetCorners(1.0);
    EXPECT_EQ(corners[2].x, 200);
    EXPECT_EQ(corners[2].y, -69);
    text.angle = 90.0;  // turned around the top-left corner
    corners = text.GetCorners(1.0);
    EXPECT_EQ(corners[0].x, 100);
    EXPECT_EQ(corners[0].y, -49);
    EXPECT_EQ(corners[1].x, 100);
    EXPECT_EQ(corners[1].y, 51);
}

TEST(ReportElement, RectangleCornersTurnAroundTheOrigin)
{
    CReportRectangle rectangle;
    rectangle.x = 10;
    rectangle.y = 10;
    rectangle.width = 100;
    rectangle.height = 50;
    auto corners = rectangle.GetCorners();
    EXPECT_EQ(corners[2].x, 110);
    EXPECT_EQ(corners[2].y, 60);
    rectangle.angle = 90.0;
    corners = rectangle.GetCorners();
    EXPECT_EQ(corners[1].x, 10);
    EXPECT_EQ(corners[1].y, -90);
}

TEST(ReportElement, TextAlignmentOffsetAndDisplayText)
{
    CReport document;
    document.SetVariable("SUM", "12");
    CReportPage page(&document);
    CReportText text;
    text.SetOwner(&page);
    text.width = 100;
    text.content = "Sum:\\t$SUM\\n";
    EXPECT_EQ(text.GetDisplayText(), "Sum:\t12\n");
    EXPECT_EQ(text.GetAlignOffset(40), 0);
    text.alignment = CReportText::kAlignRight;
    EXPECT_EQ(text.GetAlignOffset(40), 60);
    text.alignment = CReportText::kAlignCenter;
    EXPECT_EQ(text.GetAlignOffset(41), 29);
    EXPECT_EQ(text.GetAlignOffset(40, 50), 5);

    CReportHtmlText html;
    html.SetOwner(&page);
    html.markup = "<b>$SUM</b>\\n";
    EXPECT_EQ(html.GetDisplayMarkup(), "<b>12</b>\\n");
    html.richText = std::make_unique<CRichTextRunList>();
    EXPECT_EQ(dynamic_cast<CReportHtmlText&>(*html.Clone()).richText, nullptr);
}

TEST(ReportElement, PicturesComeFromTheTemplateFolderOrFromResources)
{
    CTemporaryFolder folder;
    const std::string png = PngHeader(200, 100);
    WriteWholeFile(folder.Path("logo.png"), png);
    WriteWholeFile(folder.Path("notes.txt"), "not a picture");
    static const std::string kResource = PngHeader(30, 40);
    CResourceRegistry::Register("BITMAP", 0, "TESTLOGO", reinterpret_cast<const unsigned char*>(kResource.c_str()),
                                kResource.size());
    CReport document;
    ASSERT_TRUE(document.LoadFromString(R"(<report><page>
        <picture filename="logo.png" width="100" height="100"/>
        <picture filename="$$TESTLOGO"/>
        <picture filename="notes.txt"/>
        <picture filename="missing.png"/>
        <picture filename="."/>
      </page></report>)", folder.Path("")));
    const auto& elements = document.GetTemplatePages()[0]->elements;
    ASSERT_EQ(elements.size(), 5u);
    int width = 0;
    int height = 0;
    const auto& logo = dynamic_cast<const CReportPicture&>(*elements[0]);
    ASSERT_TRUE(logo.GetNaturalSize(width, height));
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 100);
    EXPECT_EQ(logo.GetImage()->GetBytes(), png);
    ASSERT_TRUE(dynamic_cast<const CReportPicture&>(*elements[1]).GetNaturalSize(width, height));
    EXPECT_EQ(width, 30);
    for (std::size_t i = 2; i < 5; ++i)
        EXPECT_EQ(dynamic_cast<const CReportPicture&>(*elements[i]).GetImage(), nullptr) << i;
    // Clones share the picture.
    EXPECT_EQ(dynamic_cast<const CReportPicture&>(*logo.Clone()).GetImage(), logo.GetImage());
}

// Elements that name one file, however, or one resource share one copy of it in the document;
// a template loaded anew reads its pictures anew.
TEST(ReportElement, ElementsNamingOnePictureShareOneCopy)
{
    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("logo.png"), PngHeader(200, 100));
    WriteWholeFile(folder.Path("other.png"), PngHeader(200, 100));
    static const std::string kResource = PngHeader(30, 40);
    CResourceRegistry::Register("BITMAP", 0, "SHAREDLOGO", reinterpret_cast<const unsigned char*>(kResource.c_str()),
                                kResource.size());
    const std::string xml = R"(<report><page>
        <picture filename="logo.png"/><picture filename="./logo.png"/><picture filename=".\logo.png"/>
        <picture filename="other.png"/><picture filename="$SHAREDLOGO"/></page>
      <page><picture filename="logo.png"/><picture filename="$$SHAREDLOGO"/></page></report>)";
    CReport document;
    ASSERT_TRUE(document.LoadFromString(xml, folder.Path("")));
    const auto image = [&document](int page, int element) {
        return dynamic_cast<const CReportPicture&>(*document.GetTemplatePages().at(page)->elements.at(element))
            .GetImage();
    };
    ASSERT_NE(image(0, 0), nullptr);
    EXPECT_EQ(image(0, 1), image(0, 0));
    EXPECT_EQ(image(0, 2), image(0, 0));
    EXPECT_EQ(image(1, 0), image(0, 0));
    ASSERT_NE(image(0, 3), nullptr);
    EXPECT_NE(image(0, 3), image(0, 0));
    ASSERT_NE(image(0, 4), nullptr);
    EXPECT_EQ(image(1, 1), image(0, 4));
    EXPECT_EQ(document.GetPictureFiles().GetBytes(), 2 * PngHeader(200, 100).size() + kResource.size());
    const auto first = image(0, 0);
    ASSERT_TRUE(document.LoadFromString(xml, folder.Path("")));
    EXPECT_NE(image(0, 0), first);
}

TEST(ReportElement, PicturePlacement)
{
    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("wide.png"), PngHeader(200, 100));
    WriteWholeFile(folder.Path("small.png"), PngHeader(20, 10));
    const struct {
        const char* attributes;
        int x, y, width, height;
    } cases[] = {
        {R"(filename="wide.png" mode="BEST_FIT")", 0, 0, 100, 50},
        {R"(filename="wide.png" mode="STRETCH")", 0, 0, 100, 100},
        {R"(filename="small.png" mode="BEST_FIT")", 0, 0, 100, 50},  // grown to fit
        {R"(filename="small.png" width="100" height="5")", 0, 0, 10, 5},
        {R"(filename="wide.png" width="400" height="100")", 0, 0, 200, 100},  // fits: natural size
        {R"(filename="wide.png" alignx="RIGHT" aligny="BOTTOM")", -100, -50, 100, 50},
        {R"(filename="wide.png" alignx="CENTER" aligny="CENTER")", -50, -25, 100, 50},
    };
    for (const auto& c : cases) {
        std::string xml = std::string("<picture width=\"100\" height=\"100\" ") + c.attributes + "/>";
        // A later width or height attribute of the case wins.
        if (std::string(c.attributes).find("width") != std::string::npos)
            xml = std::string("<picture ") + c.attributes + "/>";
        CReport document;
        ASSERT_TRUE(document.LoadFromString("<report><page>" + xml + "</page></report>", folder.Path("")));
        const auto& picture = dynamic_cast<const CReportPicture&>(*document.GetTemplatePages()[0]->elements.at(0));
        int x = 0;
        int y = 0;
        int width = -1;
        int height = -1;
        picture.GetPlacement(x, y, width, height);
        EXPECT_EQ(x, c.x) << c.attributes;
        EXPECT_EQ(y, c.y) << c.attributes;
        EXPECT_EQ(width, c.width) << c.attributes;
        EXPECT_EQ(height, c.height) << c.attributes;
    }
}

TEST(ReportElement, ImageHeadersGiveThePixelSize)
{
    const struct {
        std::string bytes;
        int width, height;
    } cases[] = {
        {PngHeader(3, 4), 3, 4},
        {std::string("GIF89a\x05\x00\x06\x00", 10), 5, 6},
        {std::string("BM") + std::string(12, '\0') + std::string("\x28\0\0\0\x07\0\0\0\xF8\xFF\xFF\xFF", 12), 7, 8},
        {std::string("\xFF\xD8\xFF\xE0\x00\x04xx\xFF\xC0\x00\x0B\x08\x00\x09\x00\x0A", 17), 10, 9},
    };
    for (const auto& c : cases) {
        const auto image = CReportImage::FromBytes(c.bytes);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->GetPixelWidth(), c.width);
        EXPECT_EQ(image->GetPixelHeight(), c.height);
    }
    EXPECT_EQ(CReportImage::FromBytes(PngHeader(0, 4)), nullptr);
    EXPECT_EQ(CReportImage::FromBytes(PngHeader(3, 4).substr(0, 20)), nullptr);
    EXPECT_EQ(CReportImage::FromBytes(std::string("\xFF\xD8\xFF\xE0\x00\x00", 6)), nullptr);
}

// The frames of a GIF of the sizes, each an empty colour-less image.
std::string GifFrames(const std::vector<std::pair<unsigned, unsigned>>& frames)
{
    std::string bytes;
    for (const auto& [width, height] : frames) {
        bytes += std::string("\x2C\x00\x00\x00\x00", 5);
        for (unsigned value : {width, height}) {
            bytes += static_cast<char>(value & 0xFF);
            bytes += static_cast<char>(value >> 8);
        }
        bytes += std::string("\x00\x02\x02\x4C\x01\x00", 6);
    }
    return bytes;
}

// The header of a GIF of a 10 x 10 screen without colours.
const std::string kGifScreen("GIF89a\x0A\x00\x0A\x00\x00\x00\x00", 13);
// A graphic control extension, its size byte as given.
std::string GifControl(char size)
{
    return std::string("\x21\xF9", 2) + size + std::string(5, '\0');
}

// A GIF of a 10 x 10 screen with frames of the sizes.
std::string Gif(const std::vector<std::pair<unsigned, unsigned>>& frames)
{
    return kGifScreen + GifControl(4) + GifFrames(frames) + ";";
}

// What a picture takes decoded is read from its headers: past 25 million pixels it is no
// picture. A GIF's frames are all decoded, so they count together.
TEST(ReportElement, PicturesBeyondThePixelBoundAreNone)
{
    const std::string bmpHeader = std::string("BM") + std::string(12, '\0') + std::string("\x28\0\0\0", 4);
    const auto bmp = [&bmpHeader](unsigned width, unsigned height) {
        std::string bytes = bmpHeader;
        for (unsigned value : {width, height})
            for (int shift = 0; shift < 32; shift += 8)
                bytes += static_cast<char>(value >> shift & 0xFF);
        return bytes + std::string("\x01\x00\x01\x00", 4);  // one plane of one bit a pixel
    };
    const auto jpeg = [](unsigned width, unsigned height) {
        std::string bytes("\xFF\xD8\xFF\xC0\x00\x0B\x08", 7);
        for (unsigned value : {height, width}) {
            bytes += static_cast<char>(value >> 8);
            bytes += static_cast<char>(value & 0xFF);
        }
        return bytes;
    };
    const struct {
        const char* name;
        std::string bytes;
        bool picture;
    } cases[] = {
        {"PNG at the bound", PngHeader(5000, 5000), true},
        {"PNG past it", PngHeader(5000, 5001), false},
        {"a PNG of 26000 x 26000", PngHeader(26000, 26000), false},
        {"a long thin PNG", PngHeader(25000001, 1), false},
        {"BMP at the bound", bmp(5000, 5000), true},
        {"BMP past it", bmp(8000, 8000), false},
        {"JPEG at the bound", jpeg(5000, 5000), true},
        {"JPEG past it", jpeg(65535, 65535), false},
        {"GIF of one frame", Gif({{4000, 4000}}), true},
        {"GIF whose frames together pass it", Gif({{4000, 4000}, {4000, 4000}}), false},
        {"GIF of one frame past it", Gif({{65535, 65535}}), false},
        // The decoder passes over a byte that starts no block, and decodes the frames after it.
        {"GIF with a stray byte before its large frames",
         kGifScreen + GifFrames({{100, 100}}) + '\0' + GifFrames({{4000, 4000}, {4000, 4000}}) + ";", false},
        // The decoder takes a control extension as six bytes whatever its size byte says.
        {"GIF with a control extension of size 0 before a large frame",
         kGifScreen + GifFrames({{100, 100}}) + GifControl(0) + GifFrames({{4000, 4000}, {4000, 4000}}) + ";", false},
        {"GIF without a trailer", kGifScreen + GifFrames({{4000, 4000}, {4000, 4000}}), false},
        {"GIF of a stray byte and one frame", kGifScreen + '\0' + GifFrames({{4000, 4000}}), true},
    };
    for (const auto& c : cases) {
        const auto image = CReportImage::FromBytes(c.bytes);
        EXPECT_EQ(image != nullptr, c.picture) << c.name;
    }
    EXPECT_EQ(CReportImage::FromBytes(Gif({{4000, 4000}}))->GetPixelWidth(), 10);
    EXPECT_EQ(CReportImage::FromBytes(Gif({{4000, 4000}}))->GetKind(), CReportImage::kGif);
    EXPECT_EQ(CReportImage::FromBytes(bmp(3, 3))->GetKind(), CReportImage::kBmp);
}

TEST(ReportElement, ColumnCellsBindTheirPrototypeToTheRowVariable)
{
    TiXmlDocument doc;
    doc.Parse(R"(<column name="C" cellspacing="2;3;4;5"><text x="1" y="1" width="0">$COLUMN_VARIABLE</text></column>)");
    CReport document;
    CReportPage page(&document);
    std::unique_ptr<CReportElement> made = CreateReportElement(doc.RootElement(), &page);
    ASSERT_NE(made, nullptr);
    const auto& column = dynamic_cast<const CReportColumn&>(*made);
    bool borders = false;
    std::unique_ptr<CReportElement> cell = column.MakeCell(SReportRect{100, 200, 300, 230}, "", 2, borders);
    const auto& text = dynamic_cast<const CReportText&>(*cell);
    EXPECT_EQ(text.content, "$C.2");
    EXPECT_TRUE(borders);
    EXPECT_EQ(text.x, 104);   // left spacing 3, then the prototype's own 1
    EXPECT_EQ(text.y, 203);   // top spacing 2
    EXPECT_EQ(text.width, 191);  // to the inner box's right, 300 - 5
    EXPECT_EQ(text.height, 23);  // to the inner box's bottom, 230 - 4
    EXPECT_EQ(text.owner, &page);
    EXPECT_EQ(CReportColumn::GetCellVariableName("T", "C", 7), "T.C.7");

    // An empty text prototype wants no borders; a line always does.
    CReportColumn empty;
    empty.prototype = std::make_unique<CReportText>();
    empty.MakeCell(SReportRect{0, 0, 10, 10}, "T", 1, borders);
    EXPECT_FALSE(borders);
    empty.prototype = std::make_unique<CReportLine>();
    empty.MakeCell(SReportRect{0, 0, 10, 10}, "T", 1, borders);
    EXPECT_TRUE(borders);
    CReportColumn none;
    EXPECT_EQ(none.MakeCell(SReportRect{0, 0, 10, 10}, "T", 1, borders), nullptr);
    EXPECT_FALSE(borders);
}

}  // namespace
