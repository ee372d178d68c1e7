#include "Platform/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

TEST(TextEncodingTest, ValidUtf8)
{
    const struct
    {
        const char* text;
        bool valid;
    } cases[] = {
        {"", true},
        {"plain ASCII", true},
        {"Gr\xC3\xB6\xC3\x9F" "e \xC2\xB0" "C \xE2\x82\xAC \xF0\x9F\x98\x80", true},  // Größe °C € and an emoji
        {"\xEF\xBB\xBF<a/>", true},                                                // byte order mark
        {"\xF4\x8F\xBF\xBF", true},                                                // U+10FFFF
        {"Gr\xF6\xDF" "e", false},                                                 // Windows-1252
        {"\xC3", false},                                                           // cut short
        {"\xE2\x82", false},
        {"\x80", false},                                                           // stray continuation
        {"\xC0\xAF", false},                                                       // overlong '/'
        {"\xE0\x80\xAF", false},
        {"\xED\xA0\x80", false},                                                   // surrogate
        {"\xF4\x90\x80\x80", false},                                               // above U+10FFFF
        {"\xF8\x88\x80\x80\x80", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CTextEncoding::IsValidUtf8(c.text), c.valid) << c.text;
}

TEST(TextEncodingTest, Windows1252ToUtf8)
{
    EXPECT_EQ(CTextEncoding::Windows1252ToUtf8("Gr\xF6\xDF" "e \xB0" "C"), "Gr\xC3\xB6\xC3\x9F" "e \xC2\xB0" "C");
    EXPECT_EQ(CTextEncoding::Windows1252ToUtf8("\x80 \x84\x93\x94 \x96 \x99 \x9F \xFF"),
              "\xE2\x82\xAC \xE2\x80\x9E\xE2\x80\x9C\xE2\x80\x9D \xE2\x80\x93 \xE2\x84\xA2 \xC5\xB8 \xC3\xBF");
    // The bytes the code page leaves out still give valid text.
    EXPECT_EQ(CTextEncoding::Windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");

    std::string every;
    for (int byte = 1; byte < 256; ++byte)
        every += static_cast<char>(byte);
    const std::string utf8 = CTextEncoding::Windows1252ToUtf8(every);
    EXPECT_TRUE(CTextEncoding::IsValidUtf8(utf8));
    EXPECT_EQ(CTextEncoding::Utf8ToWindows1252(utf8), every);  // round trip over the whole code page
}

TEST(TextEncodingTest, FileTextIsUtf8OrWindows1252)
{
    const std::string utf8 = "Gr\xC3\xB6\xC3\x9F" "e";
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(CTextEncoding::FileTextToUtf8(utf8), utf8);
    EXPECT_EQ(CTextEncoding::FileTextToUtf8(bom + utf8), bom + utf8);
    EXPECT_EQ(CTextEncoding::FileTextToUtf8("Gr\xF6\xDF" "e"), utf8);
    // One stray byte makes the whole text Windows-1252.
    EXPECT_EQ(CTextEncoding::FileTextToUtf8("\xC3\xB6 \xB0"), "\xC3\x83\xC2\xB6 \xC2\xB0");
    EXPECT_EQ(CTextEncoding::FileTextToUtf8(bom + "\xB0" "C"), bom + "\xC2\xB0" "C");
    EXPECT_EQ(CTextEncoding::FileTextToUtf8(""), "");
}

TEST(TextEncodingTest, Utf8ToWindows1252ReplacesWhatItCannotHold)
{
    EXPECT_EQ(CTextEncoding::Utf8ToWindows1252("Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC"), "Gr\xF6\xDF" "e \x80");
    EXPECT_EQ(CTextEncoding::Utf8ToWindows1252("\xCE\xA9 \xF0\x9F\x98\x80"), "? ?");  // Omega, emoji
    EXPECT_EQ(CTextEncoding::Utf8ToWindows1252("a\xFF" "b", '_'), "a_b");            // not UTF-8
    EXPECT_EQ(CTextEncoding::Windows1252ToCodePoint(0x80), U'\u20AC');
    EXPECT_EQ(CTextEncoding::Windows1252ToCodePoint('A'), U'A');
}

TEST(TextEncodingTest, Utf16FromAndToUtf8)
{
    // Größe, the euro sign and an emoji (a surrogate pair) both ways.
    const std::string utf8 = "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80";
    const std::u16string utf16 = u"Gr\u00F6\u00DFe \u20AC \U0001F600";
    EXPECT_EQ(CTextEncoding::Utf8ToUtf16(utf8), utf16);
    EXPECT_EQ(CTextEncoding::Utf16ToUtf8(utf16), utf8);
    EXPECT_EQ(CTextEncoding::Utf8ToUtf16(""), u"");

    // Every byte that is no part of a well-formed sequence stands for one replacement character.
    const struct
    {
        const char* utf8;
        std::u16string utf16;
    } broken[] = {
        {"a\xFF" "b", u"a\uFFFDb"},
        {"\xC3", u"\uFFFD"},                          // cut short
        {"\xE2\x82" "x", u"\uFFFD\uFFFDx"},
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                 // overlong '/'
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},        // surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
    };
    for (const auto& c : broken)
        EXPECT_EQ(CTextEncoding::Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;

    // Unpaired surrogates, high or low, cannot be written as UTF-8.
    const std::u16string unpaired = {u'a', 0xD83D, u'b', 0xDE00, 0xD83D};
    EXPECT_EQ(CTextEncoding::Utf16ToUtf8(unpaired), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD");
}


TEST(TextEncodingTest, Utf8CountsAndCutsWholeCharacters)
{
    const std::string text = "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC\xF0\x9F\x98\x80";  // "Größe €" and an emoji
    EXPECT_EQ(CTextEncoding::Utf8Length(text), 8u);
    EXPECT_EQ(CTextEncoding::Utf8Length(""), 0u);
    EXPECT_EQ(CTextEncoding::Utf8Prefix(text, 0), "");
    EXPECT_EQ(CTextEncoding::Utf8Prefix(text, 3), "Gr\xC3\xB6");
    EXPECT_EQ(CTextEncoding::Utf8Prefix(text, 7), "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC");
    EXPECT_EQ(CTextEncoding::Utf8Prefix(text, 8), text);
    EXPECT_EQ(CTextEncoding::Utf8Prefix(text, 100), text);
}

}  // namespace
