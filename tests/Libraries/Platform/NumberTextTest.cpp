#include "Platform/NumberText.h"

#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Every test runs under a German locale, whose decimal separator is ','. The reference
// values are computed with the C library under the "C" locale first.
class NumberTextTest : public ::testing::Test {
protected:
    void SetUp() override { UseGerman(); }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }

    static void UseGerman()
    {
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
            << "locale de_DE.UTF-8 missing (scripts/install-deps.sh generates it)";
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        ASSERT_STREQ(text, "1,5") << "the German locale must use a decimal comma";
    }

    static std::string Printf(double v, char conversion, int precision)
    {
        char text[1024];
        switch (conversion) {
        case 'f': std::snprintf(text, sizeof text, "%.*f", precision, v); break;
        case 'F': std::snprintf(text, sizeof text, "%.*F", precision, v); break;
        case 'e': std::snprintf(text, sizeof text, "%.*e", precision, v); break;
        case 'E': std::snprintf(text, sizeof text, "%.*E", precision, v); break;
        case 'g': std::snprintf(text, sizeof text, "%.*g", precision, v); break;
        default: std::snprintf(text, sizeof text, "%.*G", precision, v); break;
        }
        return text;
    }
};

const double infinity = std::numeric_limits<double>::infinity();
const double notANumber = std::numeric_limits<double>::quiet_NaN();

TEST_F(NumberTextTest, FormatsLikePrintfInTheCLocale)
{
    const std::vector<double> values = {
        0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 1.0 / 3, 2.0 / 3, 9.9999996, 0.05, 123456.789,
        -987654321.0625, 1e-7, 0.00001234, 100, 1e15 + 0.3, 1e21, 1.23456789e-300, 5e-324, 1e300,
        DBL_MAX, infinity, -infinity, notANumber, -notANumber};
    const int precisions[] = {-1, 0, 1, 2, 3, 6, 10, 17, 30, 400};
    const char conversions[] = {'f', 'e', 'g', 'F', 'E', 'G'};

    std::setlocale(LC_ALL, "C");
    std::vector<std::string> expected;
    for (const double v : values)
        for (const char conversion : conversions)
            for (const int precision : precisions)
                expected.push_back(Printf(v, conversion, precision));

    // German for the decimal comma; Turkish, where toupper('i') stays 'i', for "INF".
    for (const char* locale : {"de_DE.UTF-8", "tr_TR.UTF-8"}) {
        SCOPED_TRACE(locale);
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << "(scripts/install-deps.sh generates it)";
        std::size_t i = 0;
        for (const double v : values)
            for (const char conversion : conversions)
                for (const int precision : precisions)
                    EXPECT_EQ(Platform::DoubleToText(v, conversion, precision), expected[i++])
                        << "value " << Printf(v, 'g', 17) << " conversion " << conversion << " precision "
                        << precision;
    }
}

TEST_F(NumberTextTest, ShortestTextReadsBackExactly)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.1, "0.1"},           {100, "100"},       {-0.0, "-0"},        {1.0 / 3, "0.3333333333333333"},
        {1e21, "1e+21"},        {1e-7, "1e-07"},    {5e-324, "5e-324"},  {DBL_MAX, "1.7976931348623157e+308"},
        {123.456, "123.456"},   {-2.5e-10, "-2.5e-10"}, {infinity, "inf"}, {-infinity, "-inf"},
    };
    for (const auto& c : cases) {
        const std::string text = Platform::DoubleToText(c.value);
        EXPECT_EQ(text, c.text);
        double back = 42;
        ASSERT_TRUE(Platform::TextToDouble(text, back)) << text;
        EXPECT_EQ(std::memcmp(&back, &c.value, sizeof back), 0) << text;
    }

    double back = 0;
    const std::string nanText = Platform::DoubleToText(notANumber);
    ASSERT_TRUE(Platform::TextToDouble(nanText, back)) << nanText;
    EXPECT_TRUE(std::isnan(back));
}

TEST_F(NumberTextTest, TextToDoubleTakesOnlyAWholeNumber)
{
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"1.5", true, 1.5},        {"  -2.25\t\n", true, -2.25}, {"+3", true, 3},
        {".5", true, 0.5},          {"5.", true, 5},              {"1e3", true, 1000},
        {"-1.5E-2", true, -0.015},  {"inf", true, infinity},      {"-Infinity", true, -infinity},
        {"1,5", false, 0},          {"1.5x", false, 0},           {"1 5", false, 0},
        {"", false, 0},             {"   ", false, 0},            {"+-1", false, 0},
        {"++1", false, 0},          {"1e", false, 0},             {"0x10", false, 0},
        {"1e400", false, 0},        {"-", false, 0},
    };
    for (const auto& c : cases) {
        double value = 42;
        EXPECT_EQ(Platform::TextToDouble(c.text, value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : 42) << '"' << c.text << '"';
    }
    double value = 0;
    EXPECT_TRUE(Platform::TextToDouble(" nan ", value));
    EXPECT_TRUE(std::isnan(value));
    // A view into a longer text ends where the view ends.
    EXPECT_TRUE(Platform::TextToDouble(std::string_view("2.5;7", 3), value));
    EXPECT_EQ(value, 2.5);
}

TEST_F(NumberTextTest, TextToLongTakesOnlyAWholeDecimalNumber)
{
    const struct {
        const char* text;
        bool ok;
        long value;
    } cases[] = {
        {"42", true, 42},       {" -7 ", true, -7},           {"+3", true, 3},
        {"0", true, 0},         {"9223372036854775807", true, LONG_MAX},
        {"-9223372036854775808", true, LONG_MIN},             {"9223372036854775808", false, 0},
        {"1.0", false, 0},      {"0x10", false, 0},           {"12abc", false, 0},
        {"", false, 0},         {"+", false, 0},              {"+-3", false, 0},
    };
    for (const auto& c : cases) {
        long value = 42;
        EXPECT_EQ(Platform::TextToLong(c.text, value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : 42) << '"' << c.text << '"';
    }
}

TEST_F(NumberTextTest, LongToTextIsPlainDecimal)
{
    EXPECT_EQ(Platform::LongToText(0), "0");
    EXPECT_EQ(Platform::LongToText(-1234567), "-1234567");
    EXPECT_EQ(Platform::LongToText(LONG_MIN), "-9223372036854775808");
}

// AtoF/AtoL must give what atof/atol give in the "C" locale, whatever the process locale is:
// each table is checked against the C library in the "C" locale, then against ours in German.
template <typename T, std::size_t N>
void CheckPrefixParser(const std::pair<const char*, T> (&cases)[N], T (*reference)(const char*),
                       T (*ours)(const char*))
{
    std::setlocale(LC_ALL, "C");
    for (const auto& [text, value] : cases) {
        if (text) {
            EXPECT_EQ(reference(text), value) << "reference for \"" << text << '"';
        }
    }
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ours(text), value) << '"' << (text ? text : "(null)") << '"';
}

TEST_F(NumberTextTest, AtoFReadsALeadingNumberLikeAtofInTheCLocale)
{
    const std::pair<const char*, double> cases[] = {
        {"  12.5abc", 12.5}, {"-3e2x", -300},  {"abc", 0},     {"", 0},        {nullptr, 0},
        {"1,5", 1},          {"1e", 1},        {"1e+", 1},     {".5", 0.5},    {"+.5e1", 5},
        {"\t\n 7", 7},       {"0x10", 16},     {"-", 0},       {".", 0},       {"- 1", 0},
        {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL}, {"inf", infinity},         {"1.5.5", 1.5},
    };
    CheckPrefixParser(cases, std::atof, Platform::AtoF);
    EXPECT_TRUE(std::isnan(Platform::AtoF("nan(1)x")));
}

TEST_F(NumberTextTest, AtoLReadsALeadingNumberLikeAtolInTheCLocale)
{
    const std::pair<const char*, long> cases[] = {
        {"  42abc", 42}, {"-17.9", -17}, {"abc", 0},  {"", 0},     {nullptr, 0},
        {"+5", 5},       {"0x10", 0},    {" - 5", 0}, {"1e3", 1},  {"\v\f12", 12},
        {"99999999999999999999", LONG_MAX},           {"-99999999999999999999", LONG_MIN},
    };
    CheckPrefixParser(cases, std::atol, Platform::AtoL);
}

}  // namespace
