#include "Renovix/RenovixLib/TextScrambler.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SScrambled {
    const char* plain;
    const char* scrambled;
};

// Stored settings and update lists were scrambled this way; the vectors pin the exact mapping.
const SScrambled kVectors[] = {
    {"", ""},
    {"Q", "w"},
    {"+", "Q"},
    {"secret", "YuImOk"},
    {"anonymous", "7aHeFkD8Z"},
    {"Pass word-1@", "Fg2yOk @Zcl-"},
};

TEST(TextScramblerTest, KnownTextsScrambleToTheirStoredForm)
{
    for (const SScrambled& v : kVectors) {
        EXPECT_EQ(CTextScrambler::Encode(v.plain), v.scrambled) << v.plain;
        EXPECT_EQ(CTextScrambler::Decode(v.scrambled), v.plain) << v.scrambled;
    }
}

TEST(TextScramblerTest, EveryLengthRoundTripsAndKeepsItsLength)
{
    // Lengths cover each remainder of the regrouping by 3 and of the half swap, with
    // characters outside the alphabet and UTF-8 bytes among them.
    const std::string pool = "aB3+/ -@\xC3\xA4xYz9Q";
    for (size_t n = 0; n <= 40; ++n) {
        std::string text;
        for (size_t i = 0; i < n; ++i)
            text += pool[(i * 7 + n) % pool.size()];
        const std::string encoded = CTextScrambler::Encode(text);
        EXPECT_EQ(encoded.size(), text.size());
        EXPECT_EQ(CTextScrambler::Decode(encoded), text) << "length " << n;
    }
}

TEST(TextScramblerTest, EncodingTwiceNeedsTwoDecodings)
{
    const std::string twice = CTextScrambler::Encode(CTextScrambler::Encode("secret"));
    EXPECT_NE(CTextScrambler::Decode(twice), "secret");
    EXPECT_EQ(CTextScrambler::Decode(CTextScrambler::Decode(twice)), "secret");
}

}  // namespace
