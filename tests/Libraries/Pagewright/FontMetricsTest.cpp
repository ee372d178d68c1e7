#include "Pagewright/AfmFontMetrics.h"
#include "Pagewright/FontFinder.h"
#include "Pagewright/PfmFontMetrics.h"
#include "Pagewright/TrueTypeFontMetrics.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

const char kNimbusAfm[] = "/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.afm";

struct STrueTypeCase {
    const char* typeface;
    int space;
    int capitalA;
    int capitalW;
    int flags;
    int italicAngle;
};

class TrueTypeMetrics : public testing::TestWithParam<STrueTypeCase> {};

// The Windows typefaces of the templates find the Liberation fonts of the same widths.
TEST_P(TrueTypeMetrics, WidthsFlagsAndAngleOfInstalledFonts)
{
    const STrueTypeCase& c = GetParam();
    CTrueTypeFontMetrics metrics;
    ASSERT_TRUE(metrics.Load(c.typeface)) << c.typeface;
    EXPECT_EQ(metrics.fontName, c.typeface);
    EXPECT_EQ(metrics.subtype, CFontMetrics::kTrueType);
    EXPECT_EQ(metrics.GetWidth(' '), c.space);
    EXPECT_EQ(metrics.GetWidth('A'), c.capitalA);
    EXPECT_EQ(metrics.GetWidth('W'), c.capitalW);
    EXPECT_EQ(metrics.flags, c.flags);
    EXPECT_EQ(metrics.italicAngle, c.italicAngle);
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, TrueTypeMetrics,
    testing::Values(STrueTypeCase{"Arial", 277, 666, 943, 32, 0}, STrueTypeCase{"Liberation Sans", 277, 666, 943, 32, 0},
                    STrueTypeCase{"Arial Bold", 277, 722, 943, 262176, 0},
                    STrueTypeCase{"Courier New", 600, 600, 600, 33, 0},
                    STrueTypeCase{"Liberation Serif Italic", 250, 610, 833, 32 | 0x40, -16},
                    STrueTypeCase{"Times New Roman Italic", 250, 610, 833, 32 | 0x40, -16}));

TEST(TrueTypeMetrics, DescriptorOfLiberationSans)
{
    CTrueTypeFontMetrics metrics;
    ASSERT_TRUE(metrics.Load("Arial"));
    EXPECT_EQ(metrics.bboxLeft, -543);
    EXPECT_EQ(metrics.bboxBottom, -303);
    EXPECT_EQ(metrics.bboxRight, 1301);
    EXPECT_EQ(metrics.bboxTop, 979);
    EXPECT_EQ(metrics.capHeight, 687);
    EXPECT_EQ(metrics.ascent, 728);
    EXPECT_EQ(metrics.descent, -210);
    EXPECT_EQ(metrics.stemV, 80);
    EXPECT_EQ(metrics.firstChar, 32);
    EXPECT_EQ(metrics.lastChar, 255);
    // Windows-1252 codes above 127 are measured by their characters.
    EXPECT_EQ(metrics.GetWidth(0xE4), metrics.GetWidth('a'));  // ä
    EXPECT_GT(metrics.GetWidth(0x80), 0);                      // €
    // Codes below the first are measured with the average width.
    EXPECT_DOUBLE_EQ(metrics.GetStringWidth("\x01\x02", 10.0), 2 * metrics.missingWidth / 100.0);
    EXPECT_DOUBLE_EQ(metrics.GetStringWidth("AW", 12.0), (666 + 943) * 12.0 / 1000.0);
}

TEST(TrueTypeMetrics, EveryCodeOfTheMonospacedFontIsAsWideAsTheOthers)
{
    CTrueTypeFontMetrics metrics;
    ASSERT_TRUE(metrics.Load("Liberation Mono"));
    for (int code = 32; code < 127; ++code)
        EXPECT_EQ(metrics.GetWidth(static_cast<unsigned char>(code)), 600) << code;
    EXPECT_TRUE(metrics.IsFixedPitch());
}

// fontconfig answers every family with some font; another family than the one asked for is no
// answer, or a report would silently show other widths.
TEST(TrueTypeMetrics, FamilyThatIsNotInstalledIsNotFound)
{
    EXPECT_EQ(Pagewright::FindFontFile("No Such Family Anywhere"), "");
    EXPECT_EQ(Pagewright::FindFontFile(""), "");
    CTrueTypeFontMetrics metrics;
    EXPECT_FALSE(metrics.Load("No Such Family Anywhere"));
    EXPECT_EQ(Pagewright::FontAlias("ARIAL"), "Liberation Sans");
    EXPECT_EQ(Pagewright::FontAlias("Courier New"), "Liberation Mono");
    EXPECT_EQ(Pagewright::FontAlias("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(Pagewright::FontAlias("Verdana"), "");
}

// What a PDF font's widths and descriptor carry.
void ExpectSameMetrics(const CFontMetrics& actual, const CFontMetrics& expected)
{
    EXPECT_EQ(actual.widths, expected.widths);
    EXPECT_EQ(actual.missingWidth, expected.missingWidth);
    EXPECT_EQ(actual.flags, expected.flags);
    EXPECT_EQ(actual.italicAngle, expected.italicAngle);
    EXPECT_EQ(actual.stemV, expected.stemV);
    EXPECT_EQ(actual.capHeight, expected.capHeight);
    EXPECT_EQ(actual.ascent, expected.ascent);
    EXPECT_EQ(actual.descent, expected.descent);
    EXPECT_EQ(std::vector<int>({actual.bboxLeft, actual.bboxBottom, actual.bboxRight, actual.bboxTop}),
              std::vector<int>({expected.bboxLeft, expected.bboxBottom, expected.bboxRight, expected.bboxTop}));
}

struct SStyledCase {
    const char* typeface;
    bool bold;
    bool italic;
    const char* face;  // the typeface of the file that must describe it
};

class StyledTrueType : public testing::TestWithParam<SStyledCase> {};

// Bold and italic are faces with files of their own, wider or slanted: a text in them is
// described and measured by that file, under the typeface's name. A family without such a face
// keeps its regular metrics.
TEST_P(StyledTrueType, IsDescribedByItsOwnFace)
{
    const SStyledCase& c = GetParam();
    CTrueTypeFontMetrics styled;
    CTrueTypeFontMetrics face;
    ASSERT_TRUE(styled.Load(c.typeface, c.bold, c.italic));
    ASSERT_TRUE(face.Load(c.face));
    EXPECT_EQ(styled.fontName, c.typeface);
    ExpectSameMetrics(styled, face);
}

INSTANTIATE_TEST_SUITE_P(
    Faces, StyledTrueType,
    testing::Values(SStyledCase{"Arial", false, false, "Liberation Sans"},
                    SStyledCase{"Arial", true, false, "Liberation Sans Bold"},
                    SStyledCase{"Arial", false, true, "Liberation Sans Italic"},
                    SStyledCase{"Arial", true, true, "Liberation Sans Bold Italic"},
                    SStyledCase{"Times New Roman", true, false, "Liberation Serif Bold"},
                    SStyledCase{"Courier New", false, true, "Liberation Mono Italic"},
                    SStyledCase{"Arial Bold", true, false, "Liberation Sans Bold"},
                    SStyledCase{"DejaVu Math TeX Gyre", true, true, "DejaVu Math TeX Gyre"}));

class StyledType1 : public testing::TestWithParam<SStyledCase> {};

TEST_P(StyledType1, IsDescribedByItsOwnFace)
{
    const SStyledCase& c = GetParam();
    CPfmFontMetrics styled;
    CPfmFontMetrics face;
    ASSERT_TRUE(styled.Load(c.typeface, c.bold, c.italic));
    ASSERT_TRUE(face.Load(c.face));
    EXPECT_EQ(styled.fontName, c.typeface);
    ExpectSameMetrics(styled, face);
}

INSTANTIATE_TEST_SUITE_P(Faces, StyledType1,
                         testing::Values(SStyledCase{"NimbusSans-Regular", true, false, "NimbusSans-Bold"},
                                         SStyledCase{"NimbusSans-Regular", false, true, "NimbusSans-Italic"},
                                         SStyledCase{"NimbusSans-Regular", true, true, "NimbusSans-BoldItalic"},
                                         SStyledCase{"NimbusSans-Bold", true, false, "NimbusSans-Bold"}));

// The bold face is wider than the regular: "Customer data" by the advance widths of Liberation
// Sans Bold and Regular (Arial's), in 1/1000 em.
TEST(StyledTrueType, BoldTextIsAsWideAsTheBoldFaceDrawsIt)
{
    CTrueTypeFontMetrics regular;
    CTrueTypeFontMetrics bold;
    ASSERT_TRUE(regular.Load("Arial"));
    ASSERT_TRUE(bold.Load("Arial", true, false));
    EXPECT_DOUBLE_EQ(regular.GetStringWidth("Customer data", 1000.0), 6555.0);
    EXPECT_DOUBLE_EQ(bold.GetStringWidth("Customer data", 1000.0), 6997.0);
    EXPECT_EQ(bold.flags & CFontMetrics::kFlagForceBold, CFontMetrics::kFlagForceBold);
    EXPECT_EQ(regular.flags & CFontMetrics::kFlagForceBold, 0);
}

std::string LiberationSansBytes()
{
    const std::string path = Pagewright::FindFontFile("Liberation Sans");
    EXPECT_FALSE(path.empty());
    return ReadWholeFile(path);
}

// Offset of a table in the file's directory; npos when it has none.
std::size_t TableOffset(const std::string& font, const char* tag)
{
    auto u16 = [&](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(font[at]) << 8 | static_cast<unsigned char>(font[at + 1]));
    };
    for (std::size_t i = 0; i < u16(4); ++i) {
        const std::size_t record = 12 + 16 * i;
        if (font.compare(record, 4, tag) == 0)
            return u16(record + 8) << 16 | u16(record + 10);
    }
    return std::string::npos;
}

// Where in the directory the record of a table starts; npos when it has none.
std::size_t RecordOffset(const std::string& font, const char* tag)
{
    const std::size_t count = static_cast<unsigned char>(font[4]) << 8 | static_cast<unsigned char>(font[5]);
    for (std::size_t i = 0; i < count; ++i) {
        if (font.compare(12 + 16 * i, 4, tag) == 0)
            return 12 + 16 * i;
    }
    return std::string::npos;
}

struct SPatchCase {
    const char* name;
    const char* table;   // "" for the file's start
    std::size_t offset;  // inside the table (or its directory record)
    std::string bytes;
    bool inRecord = false;
};

class DamagedTrueType : public testing::TestWithParam<SPatchCase> {};

TEST_P(DamagedTrueType, IsRefused)
{
    const SPatchCase& c = GetParam();
    std::string font = LiberationSansBytes();
    ASSERT_FALSE(font.empty());
    CTrueTypeFontMetrics metrics;
    ASSERT_TRUE(metrics.LoadFromBytes(font, "Arial"));
    const std::size_t at = c.table[0] == '\0' ? 0 : c.inRecord ? RecordOffset(font, c.table) : TableOffset(font, c.table);
    ASSERT_NE(at, std::string::npos);
    font.replace(at + c.offset, c.bytes.size(), c.bytes);
    EXPECT_FALSE(metrics.LoadFromBytes(font, "Arial")) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DamagedTrueType,
    testing::Values(SPatchCase{"OpenType with CFF outlines", "", 0, "OTTO"},
                    SPatchCase{"font collection", "", 0, "ttcf"},
                    SPatchCase{"unitsPerEm 0", "head", 18, std::string(2, '\0')},
                    SPatchCase{"numberOfHMetrics 0", "hhea", 34, std::string(2, '\0')},
                    SPatchCase{"numberOfHMetrics beyond hmtx", "hhea", 34, "\xFF\xFF"},
                    SPatchCase{"hmtx offset outside the file", "hmtx", 8, "\x7F\xFF\xFF\xFF", true},
                    SPatchCase{"cmap longer than the file", "cmap", 12, "\x7F\xFF\xFF\xFF", true},
                    SPatchCase{"cmap subtable outside its table", "cmap", 8, "\x7F\xFF\xFF\xF0"},
                    SPatchCase{"table count beyond the directory", "", 4, "\xFF\xFF"}),
    [](const testing::TestParamInfo<SPatchCase>& info) {
        std::string name = info.param.name;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

// OS/2 tables before version 2 have no cap height; fonts without a post table are not fixed
// pitch and take their angle from the caret.
TEST(TrueTypeMetrics, OlderOs2TableAndMissingPostTable)
{
    std::string font = ReadWholeFile(Pagewright::FindFontFile("Liberation Mono"));
    ASSERT_FALSE(font.empty());
    font.replace(TableOffset(font, "OS/2"), 2, std::string("\0\1", 2));
    font.replace(RecordOffset(font, "post"), 4, "xxxx");
    CTrueTypeFontMetrics metrics;
    ASSERT_TRUE(metrics.LoadFromBytes(font, "Courier New"));
    EXPECT_EQ(metrics.capHeight, static_cast<int>(0.7 * 2048) * 1000 / 2048);
    EXPECT_FALSE(metrics.IsFixedPitch());
    EXPECT_EQ(metrics.flags, CFontMetrics::kFlagNonSymbolic);
    EXPECT_EQ(metrics.italicAngle, 0);
    EXPECT_EQ(metrics.GetWidth('W'), 600);
}

// Truncated and bit-flipped copies may load or not, but never read outside the bytes (the
// sanitizer tree checks that).
TEST(DamagedTrueType, TruncatedAndFlippedCopiesAreReadSafely)
{
    const std::string font = LiberationSansBytes();
    ASSERT_GT(font.size(), 1000u);
    CTrueTypeFontMetrics metrics;
    for (std::size_t length : {std::size_t{0}, std::size_t{3}, std::size_t{11}, std::size_t{12}, std::size_t{100}})
        EXPECT_FALSE(metrics.LoadFromBytes(std::string_view(font).substr(0, length), "Arial")) << length;
    for (std::size_t length = 0; length < font.size(); length += font.size() / 40 + 1)
        metrics.LoadFromBytes(std::string_view(font).substr(0, length), "Arial");
    std::mt19937 random(24);
    // The directory and the tables the reader uses sit in the first part of the file.
    std::uniform_int_distribution<std::size_t> place(0, 4096);
    for (int round = 0; round < 200; ++round) {
        std::string copy = font;
        for (int flip = 0; flip < 4; ++flip)
            copy[place(random)] ^= static_cast<char>(1 << (round + flip) % 8);
        metrics.LoadFromBytes(copy, "Arial");
    }
}

TEST(AfmMetrics, NimbusSansFromItsAfmFile)
{
    CAfmFontMetrics metrics;
    ASSERT_TRUE(metrics.LoadAfm(kNimbusAfm));
    EXPECT_EQ(metrics.subtype, CFontMetrics::kType1);
    EXPECT_EQ(metrics.fontName, "NimbusSans-Regular");
    EXPECT_EQ(metrics.GetWidth(' '), 278);
    EXPECT_EQ(metrics.GetWidth('A'), 667);
    EXPECT_EQ(metrics.GetWidth(0xE4), metrics.GetWidth('a'));
    EXPECT_EQ(metrics.flags & CFontMetrics::kFlagNonSymbolic, CFontMetrics::kFlagNonSymbolic);
    EXPECT_EQ(metrics.missingWidth, 0);
    EXPECT_EQ(metrics.GetStringWidth("\x01", 10.0), 0.0);
}

TEST(AfmMetrics, InstalledType1FontIsFoundByItsPostScriptName)
{
    CPfmFontMetrics metrics;
    ASSERT_TRUE(metrics.Load("NimbusSans-Regular"));
    EXPECT_EQ(metrics.GetWidth(' '), 278);
    EXPECT_FALSE(metrics.Load(""));
    EXPECT_FALSE(metrics.Load("NoSuch-Font"));
}

TEST(AfmMetrics, DefaultsAndFlagsOfAShortText)
{
    CAfmFontMetrics metrics;
    ASSERT_TRUE(metrics.LoadAfmText("StartFontMetrics 2.0\nFontName Demo-BoldSC\nWeight Bold\nIsFixedPitch TRUE \n"
                                    "EncodingScheme AdobeStandardEncoding\nStartCharMetrics 2\n"
                                    "C 32 ; WX 300 ; N space ; B 0 0 0 0 ;\nC -1 ; WX 700 ; N adieresis ;\n"
                                    "C 65 ; N A ;\nEndCharMetrics\nEndFontMetrics\n"));
    EXPECT_EQ(metrics.bboxLeft, -50);
    EXPECT_EQ(metrics.bboxBottom, -200);
    EXPECT_EQ(metrics.bboxRight, 1000);
    EXPECT_EQ(metrics.bboxTop, 900);
    EXPECT_EQ(metrics.flags, 1 | 32 | 0x20000 | 0x40000);
    EXPECT_EQ(metrics.GetWidth(' '), 300);
    EXPECT_EQ(metrics.GetWidth(0xE4), 700);  // by its glyph name
    EXPECT_EQ(metrics.GetWidth('A'), 250);   // the default width
    EXPECT_EQ(metrics.GetWidth('B'), 0);

    EXPECT_FALSE(metrics.LoadAfmText("FontName X\nStartCharMetrics 1\nC 32 ; WX 300 ; N space ;\n"));
    EXPECT_FALSE(metrics.LoadAfm("/nonexistent/font.afm"));
    // A folder in the file's place is no font (reading it threw from the stream before).
    EXPECT_FALSE(metrics.LoadAfm("/tmp"));
    CPfmFontMetrics pfm;
    EXPECT_FALSE(pfm.LoadPfm("/tmp"));
}

// A PFM of the layout Windows installs: header, extension, names, extent table, extended metrics.
std::string SyntheticPfm(int charSet = 0)
{
    std::string pfm(400, '\0');
    auto put16 = [&](std::size_t at, int v) {
        pfm[at] = static_cast<char>(v & 0xFF);
        pfm[at + 1] = static_cast<char>(v >> 8 & 0xFF);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, static_cast<int>(v & 0xFFFF));
        put16(at + 2, static_cast<int>(v >> 16));
    };
    put16(0, 0x100);
    pfm.replace(6, 9, "Demo font");
    put16(74, 700);   // ascent
    pfm[80] = 1;      // italic
    put16(83, 700);   // weight
    pfm[85] = static_cast<char>(charSet);
    pfm[90] = 1;      // variable pitch
    put16(91, 500);   // average width
    put16(93, 900);   // maximum width
    pfm[95] = 32;
    pfm[96] = 0xFF;
    put16(117, 30);
    put32(105, 150);  // face
    pfm.replace(150, 5, "Demo\0", 5);
    put32(139, 160);  // PostScript name
    pfm.replace(160, 14, "Demo-BoldItal\0", 14);
    put32(119, 180);  // extended metrics
    put16(180 + 14, 680);
    put16(180 + 16, 480);
    put16(180 + 18, 690);
    put16(180 + 20, 210);
    put32(123, 210);  // extents, 224 codes
    pfm.resize(210 + 2 * 224);
    for (int code = 32; code <= 255; ++code)
        put16(210 + 2 * (code - 32), code == 'A' ? 650 : code == 0xE4 ? 540 : code == ' ' ? 250 : 0);
    put32(2, static_cast<std::uint32_t>(pfm.size()));
    return pfm;
}

TEST(PfmMetrics, ConvertedToAfmInMemory)
{
    std::string afm;
    ASSERT_TRUE(CPfmFontMetrics::ConvertPfmToAfm(SyntheticPfm(), afm));
    EXPECT_NE(afm.find("Comment Demo font\nFontName Demo-BoldItal\nEncodingScheme AdobeStandardEncoding\n"
                       "FullName Demo BoldItal\nFamilyName Demo\nWeight Bold\nItalicAngle -12.00\n"
                       "IsFixedPitch false\nFontBBox -100 -215 910 705\nCapHeight 680\nXHeight 480\n"
                       "Descender -210\nAscender 690\nStartCharMetrics 224\nC 32 ; WX 250 ; N space ;\n"),
              std::string::npos)
        << afm;
    EXPECT_NE(afm.find("C 65 ; WX 650 ; N A ;\n"), std::string::npos);
    EXPECT_NE(afm.find("C -1 ; WX 540 ; N adieresis ;\n"), std::string::npos);

    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("demo.pfm"), SyntheticPfm());
    CPfmFontMetrics metrics;
    ASSERT_TRUE(metrics.LoadPfm(folder.Path("demo.pfm")));
    EXPECT_EQ(metrics.fontName, "Demo-BoldItal");
    EXPECT_EQ(metrics.GetWidth(' '), 250);
    EXPECT_EQ(metrics.GetWidth('A'), 650);
    EXPECT_EQ(metrics.GetWidth(0xE4), 540);
    EXPECT_EQ(metrics.italicAngle, -12);
    EXPECT_EQ(metrics.missingWidth, 0);
}

TEST(PfmMetrics, FontSpecificCharacterSetListsCodesWithWidths)
{
    std::string afm;
    ASSERT_TRUE(CPfmFontMetrics::ConvertPfmToAfm(SyntheticPfm(2), afm));
    EXPECT_NE(afm.find("EncodingScheme FontSpecific\n"), std::string::npos);
    EXPECT_NE(afm.find("C 65 ; WX 650 ;\n"), std::string::npos);
    EXPECT_EQ(afm.find("C 66 ;"), std::string::npos);
}

struct SPfmFault {
    const char* name;
    std::size_t at;
    std::string bytes;
};

class DamagedPfm : public testing::TestWithParam<SPfmFault> {};

TEST_P(DamagedPfm, IsRefused)
{
    std::string pfm = SyntheticPfm();
    pfm.replace(GetParam().at, GetParam().bytes.size(), GetParam().bytes);
    std::string afm = "old";
    EXPECT_FALSE(CPfmFontMetrics::ConvertPfmToAfm(pfm, afm));
    EXPECT_EQ(afm, "");
}

INSTANTIATE_TEST_SUITE_P(Faults, DamagedPfm,
                         testing::Values(SPfmFault{"size", 2, std::string("\x01\x00\x00\x00", 4)},
                                         SPfmFault{"extension", 117, std::string("\x1F\x00", 2)},
                                         SPfmFault{"name", 139, std::string("\x20\x00\x00\x00", 4)},
                                         SPfmFault{"extents", 123, std::string("\x00\x10\x00\x00", 4)},
                                         SPfmFault{"metrics", 119, std::string("\xFF\xFF\x00\x00", 4)},
                                         SPfmFault{"face", 105, std::string("\x00\x00\x01\x00", 4)},
                                         SPfmFault{"kerning", 131, std::string("\x00\x10\x00\x00", 4)}),
                         [](const testing::TestParamInfo<SPfmFault>& info) { return std::string(info.param.name); });

TEST(PfmMetrics, TruncatedCopiesAreRefused)
{
    const std::string pfm = SyntheticPfm();
    std::string afm;
    for (std::size_t length = 0; length < pfm.size(); length += 7)
        EXPECT_FALSE(CPfmFontMetrics::ConvertPfmToAfm(pfm.substr(0, length), afm)) << length;
}

}  // namespace
