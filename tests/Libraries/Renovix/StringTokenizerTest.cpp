#include "Renovix/RenovixLib/StringTokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Pieces(CStringTokenizer& tokenizer)
{
    std::vector<std::string> pieces;
    while (tokenizer.HasMoreTokens())
        pieces.push_back(tokenizer.NextToken());
    return pieces;
}

TEST(StringTokenizerTest, SplitsAtEverySeparatorButATrailingOne)
{
    const struct {
        const char* text;
        std::vector<std::string> pieces;
    } cases[] = {
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a"}},
        {",a", {"", "a"}},
        {"pro,demo", {"pro", "demo"}},
        {"all", {"all"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        CStringTokenizer tokenizer(c.text, ',');
        EXPECT_EQ(Pieces(tokenizer), c.pieces) << c.text;
        EXPECT_EQ(tokenizer.GetText(), c.text);
    }
}

TEST(StringTokenizerTest, EmptyRemainderGivesEmptyPieces)
{
    CStringTokenizer tokenizer("a", ',');
    EXPECT_EQ(tokenizer.NextToken(), "a");
    EXPECT_EQ(tokenizer.NextToken(), "");
    EXPECT_FALSE(tokenizer.HasMoreTokens());
}

TEST(StringTokenizerTest, SetStartsOverWithTheNewSeparator)
{
    CStringTokenizer tokenizer;
    EXPECT_EQ(tokenizer.GetSeparator(), ' ');
    tokenizer.Set("x y", ' ');
    EXPECT_EQ(tokenizer.NextToken(), "x");
    tokenizer.Set("p;q", ';');
    EXPECT_EQ(tokenizer.GetSeparator(), ';');
    EXPECT_EQ(Pieces(tokenizer), (std::vector<std::string>{"p", "q"}));
}

}  // namespace
