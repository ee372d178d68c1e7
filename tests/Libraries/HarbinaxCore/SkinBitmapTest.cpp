#include "HarbinaxCore/SkinBitmap.h"
#include "SkinTestBitmaps.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::uint32_t PixelAt(const CSkinBitmap& bitmap, int x, int y)
{
    const unsigned char* p = bitmap.Rgb().data() + 3 * (static_cast<std::size_t>(y) * bitmap.Width() + x);
    return static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
}

// Three columns, two rows: the top row red, green, blue; the bottom row white, black, magenta.
STestBmp Sample(int bits, bool bottomUp)
{
    STestBmp bmp;
    bmp.width = 3;
    bmp.height = 2;
    bmp.bits = bits;
    bmp.bottomUp = bottomUp;
    if (bits == 8) {
        bmp.palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xFF00FF};
        bmp.pixels = {0, 1, 2, 3, 4, 5};
    } else {
        bmp.pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xFF00FF};
    }
    return bmp;
}

TEST(SkinBitmap, ReadsEightAndTwentyFourBitsInEitherRowOrderTopRowFirst)
{
    for (int bits : {8, 24}) {
        for (bool bottomUp : {true, false}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, bottom-up " << bottomUp);
            CSkinBitmap bitmap;
            std::string error;
            ASSERT_TRUE(bitmap.Read(BmpFile(Sample(bits, bottomUp)), error)) << error;
            EXPECT_EQ(3, bitmap.Width());
            EXPECT_EQ(2, bitmap.Height());
            EXPECT_EQ(bottomUp, bitmap.IsBottomUp());
            EXPECT_EQ(0xFF0000u, PixelAt(bitmap, 0, 0));
            EXPECT_EQ(0x0000FFu, PixelAt(bitmap, 2, 0));
            EXPECT_EQ(0xFFFFFFu, PixelAt(bitmap, 0, 1));
            EXPECT_EQ(0xFF00FFu, PixelAt(bitmap, 2, 1));
        }
    }
}

TEST(SkinBitmap, RowPaddingIsSkipped)
{
    // One pixel a row: 3 bytes of pixel and 1 byte of padding per row.
    STestBmp bmp = PlainBmp(1, 3, 0);
    bmp.pixels = {0x112233, 0x445566, 0x778899};
    CSkinBitmap bitmap;
    std::string error;
    ASSERT_TRUE(bitmap.Read(BmpFile(bmp), error)) << error;
    EXPECT_EQ(0x112233u, PixelAt(bitmap, 0, 0));
    EXPECT_EQ(0x778899u, PixelAt(bitmap, 0, 2));
}

struct SBadFile {
    const char* name;
    std::function<void(std::string&)> spoil;
};

class SkinBitmapRefuses : public ::testing::TestWithParam<SBadFile> {};

TEST_P(SkinBitmapRefuses, MalformedFiles)
{
    STestBmp sample = Sample(8, true);
    std::string file = BmpFile(sample);
    GetParam().spoil(file);
    CSkinBitmap bitmap;
    std::string error;
    EXPECT_FALSE(bitmap.Read(file, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(0, bitmap.Width());
    EXPECT_TRUE(bitmap.Rgb().empty());
}

const SBadFile badFiles[] = {
    {"Empty", [](std::string& f) { f.clear(); }},
    {"OnlyTheFileHeader", [](std::string& f) { f.resize(14); }},
    {"NoMagic", [](std::string& f) { f[1] = 'X'; }},
    {"InfoHeaderTooSmall", [](std::string& f) { PutLe(f, 14, 12, 4); }},
    {"InfoHeaderPastTheEnd", [](std::string& f) { PutLe(f, 14, 100000, 4); }},
    {"ZeroWidth", [](std::string& f) { PutLe(f, 18, 0, 4); }},
    {"NegativeWidth", [](std::string& f) { PutLe(f, 18, 0xFFFFFFFF, 4); }},
    {"HugeWidth", [](std::string& f) { PutLe(f, 18, 0x7FFFFFFF, 4); }},
    {"ZeroHeight", [](std::string& f) { PutLe(f, 22, 0, 4); }},
    {"MostNegativeHeight", [](std::string& f) { PutLe(f, 22, 0x80000000, 4); }},
    {"TwoPlanes", [](std::string& f) { PutLe(f, 26, 2, 2); }},
    {"SixteenBits", [](std::string& f) { PutLe(f, 28, 16, 2); }},
    {"Compressed", [](std::string& f) { PutLe(f, 30, 1, 4); }},
    {"ColourTableTooLarge", [](std::string& f) { PutLe(f, 46, 257, 4); }},
    {"ColourTablePastTheEnd", [](std::string& f) { PutLe(f, 46, 200, 4); }},
    {"PixelsPastTheEnd", [](std::string& f) { f.pop_back(); }},
    {"PixelOffsetPastTheEnd", [](std::string& f) { PutLe(f, 10, 0xFFFFFFF0, 4); }},
    {"PixelOffsetInsideTheHeaders", [](std::string& f) { PutLe(f, 10, 20, 4); }},
    {"RowsClaimedThatAreNotThere", [](std::string& f) { PutLe(f, 22, 3, 4); }},
    {"IndexBeyondTheColourTable", [](std::string& f) { f[f.size() - 2] = 6; }},  // the last byte pads
};

INSTANTIATE_TEST_SUITE_P(Cases, SkinBitmapRefuses, ::testing::ValuesIn(badFiles),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
