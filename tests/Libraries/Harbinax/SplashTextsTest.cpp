#include "Harbinax/SplashShape.h"
#include "Harbinax/SplashTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Found by argument-dependent lookup from the comparisons of std::vector.
static bool operator==(const SShapeRun& a, const SShapeRun& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width;
}

namespace {

bool IsValidUtf8Prefix(const std::string& cut, const std::string& whole)
{
    if (whole.compare(0, cut.size(), cut) != 0)
        return false;
    // The next byte of the whole text must start a character.
    return cut.size() == whole.size() || (static_cast<unsigned char>(whole[cut.size()]) & 0xC0) != 0x80;
}

TEST(SplashTexts, DownloadProgressSequence)
{
    CSplashTexts texts;
    texts.SetStatusText("Loading units", 0);
    texts.OnDownloadFile("a.zip");
    texts.OnSetFileSize(10);
    EXPECT_EQ("Aktualisiere Datei", texts.GetStatusText(0));
    EXPECT_EQ("", texts.GetStatusText(1));
    for (int i = 0; i < 3; ++i)
        texts.OnDownloaded1KB();
    EXPECT_EQ("a.zip 3 / 10 KB", texts.GetStatusText(1));

    // The next file clears the count but line 1 keeps the last file's progress until its first
    // kilobyte; a start-up step written to line 0 leaves line 1 alone.
    texts.OnDownloadFile("b.dll");
    EXPECT_EQ(0, texts.GetKilobytesDone());
    EXPECT_EQ("a.zip 3 / 10 KB", texts.GetStatusText(1));
    texts.SetStatusText("Loading fluids", 0);
    EXPECT_EQ("a.zip 3 / 10 KB", texts.GetStatusText(1));
    texts.OnSetFileSize(2);
    texts.OnDownloaded1KB();
    EXPECT_EQ("b.dll 1 / 2 KB", texts.GetStatusText(1));
    EXPECT_EQ("Loading fluids", texts.GetStatusText(0));

    // The end of a download is reported with an empty name.
    texts.OnDownloadFile("");
    EXPECT_EQ("Aktualisiere Datei", texts.GetStatusText(0));
    EXPECT_EQ("", texts.GetFileName());
}

TEST(SplashTexts, OnlyLinesZeroAndOne)
{
    CSplashTexts texts;
    EXPECT_TRUE(texts.SetStatusText("one", 1));
    EXPECT_FALSE(texts.SetStatusText("two", 2));
    EXPECT_FALSE(texts.SetStatusText("minus", -1));
    EXPECT_EQ("one", texts.GetStatusText(1));
    EXPECT_EQ("", texts.GetStatusText(2));
}

TEST(SplashTexts, LongTextsAreCutAtCharacterBoundaries)
{
    CSplashTexts texts;
    std::string umlauts;
    for (int i = 0; i < 200; ++i)
        umlauts += "\xC3\xA4";  // 'ä', two bytes
    texts.SetStatusText(umlauts, 0);
    EXPECT_EQ(254u, texts.GetStatusText(0).size());
    EXPECT_TRUE(IsValidUtf8Prefix(texts.GetStatusText(0), umlauts));

    // A long file name gives way to the counts.
    texts.OnDownloadFile("x" + umlauts + ".zip");
    texts.OnSetFileSize(1234);
    texts.OnDownloaded1KB();
    const std::string line = texts.GetStatusText(1);
    const std::string counts = " 1 / 1234 KB";
    EXPECT_LE(line.size(), CSplashTexts::MaxTextBytes);
    ASSERT_GT(line.size(), counts.size());
    EXPECT_EQ(counts, line.substr(line.size() - counts.size()));
    EXPECT_TRUE(IsValidUtf8Prefix(line.substr(0, line.size() - counts.size()), "x" + umlauts));
}

TEST(SplashTexts, CutUtf8)
{
    const std::string euro = "\xE2\x82\xAC";          // three bytes
    const std::string clef = "\xF0\x9D\x84\x9E";      // four bytes
    const struct {
        std::string text;
        std::size_t max;
        std::string expected;
    } cases[] = {
        {"abc", 3, "abc"},
        {"abcd", 3, "abc"},
        {"ab" + euro, 4, "ab"},
        {"ab" + euro, 5, "ab" + euro},
        {"a" + clef + "b", 4, "a"},
        {"a" + clef + "b", 5, "a" + clef},
        {euro, 2, ""},
        {"", 0, ""},
        // No UTF-8: a long run of continuation bytes is cut where the limit says.
        {std::string(8, '\x80'), 5, std::string(5, '\x80')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, CSplashTexts::CutUtf8(c.text, c.max)) << c.text.size() << " / " << c.max;
}

// Rows of an RGB image from strings: 'G' pure green, anything else an opaque pixel.
std::vector<unsigned char> Image(const std::vector<std::string>& rows)
{
    std::vector<unsigned char> rgb;
    for (const std::string& row : rows) {
        for (const char c : row) {
            if (c == 'G')
                rgb.insert(rgb.end(), {0x00, 0xFF, 0x00});
            else if (c == 'g')  // almost green is no hole
                rgb.insert(rgb.end(), {0x00, 0xFE, 0x00});
            else
                rgb.insert(rgb.end(), {0x20, 0x40, 0x80});
        }
    }
    return rgb;
}

TEST(SplashShape, PureGreenPixelsAreHoles)
{
    const auto rgb = Image({
        "GGGGG",
        "GxxxG",
        "GxGgG",
        "GGGGG",
    });
    const std::vector<SShapeRun> expected = {{1, 1, 3}, {1, 2, 1}, {3, 2, 1}};
    EXPECT_EQ(expected, OpaqueRuns(rgb.data(), 5, 5, 4, 0x00FF00));
}

TEST(SplashShape, WithoutGreenEveryRowIsOneRun)
{
    const auto rgb = Image({"xxx", "xxx"});
    const std::vector<SShapeRun> expected = {{0, 0, 3}, {0, 1, 3}};
    EXPECT_EQ(expected, OpaqueRuns(rgb.data(), 3, 3, 2, 0x00FF00));
}

TEST(SplashShape, ScansOnlyTheGivenArea)
{
    const auto rgb = Image({"xxxx", "xxxx", "xxxx"});
    const std::vector<SShapeRun> expected = {{0, 0, 2}, {0, 1, 2}};
    EXPECT_EQ(expected, OpaqueRuns(rgb.data(), 4, 2, 2, 0x00FF00));
}

}  // namespace
