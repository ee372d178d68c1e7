// Number formatting for display and for machine text.
#include "CommonFiles/DataFormat.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace {

struct FormatCase {
    double x;
    int digits;
    bool dropPoint;
    const char* expected;
};

TEST(DataFormat, Format)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const FormatCase cases[] = {
        {0.0, 6, false, "0.0"},
        {0.0, 6, true, "0"},
        {-2.5, 1, true, "-3"},
        {2.5, 1, false, "3.0"},
        {1234567.0, 3, false, "1230000.0"},
        {0.000012345, 3, false, "0.0000123"},
        {12.5, 0, false, "12.5"},
        {12.0, 0, false, "12.0"},
        {12.0, 0, true, "12"},
        {0.1, -1, false, "0.1"},
        {1e-12, 0, false, "0.0"},
        {-1e-12, 0, false, "0.0"},
        {-1e-12, 0, true, "0"},
        {123.456, 4, false, "123.5"},
        {-0.0049, 1, false, "-0.005"},
        {99.96, 3, true, "100"},
        {1.0 / 3.0, 0, false, "0.3333333333"},
        {nan, 3, false, "NaN"},
        {inf, 3, false, "INF"},
        {-inf, 0, true, "-INF"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(DataFormat::Format(c.x, c.digits, c.dropPoint), c.expected)
            << c.x << " digits " << c.digits << (c.dropPoint ? " dropping" : "");
}

TEST(DataFormat, LargestNumbersNeitherOverflowTheTextNorTurnInfinite)
{
    const std::string text = DataFormat::Format(1e308, 0, false);
    EXPECT_EQ(text.size(), 311u);  // 309 digits, ".0"
    EXPECT_EQ(text.substr(0, 5), "10000");
    EXPECT_EQ(text.substr(text.size() - 2), ".0");
    const std::string rounded = DataFormat::Format(-1e308, 3, true);
    EXPECT_GE(rounded.size(), 309u);
    EXPECT_EQ(rounded.find_first_not_of("-0123456789"), std::string::npos) << rounded;

    // Rounding DBL_MAX up to three digits would give 1.80e308, beyond double.
    EXPECT_EQ(DataFormat::RoundToSignificantDigits(DBL_MAX, 3), DBL_MAX);
    EXPECT_EQ(DataFormat::RoundToSignificantDigits(-DBL_MAX, 3), -DBL_MAX);
    EXPECT_NEAR(DataFormat::RoundToSignificantDigits(1e308, 3), 1e308, 1e295);
}

TEST(DataFormat, RoundToSignificantDigits)
{
    EXPECT_EQ(DataFormat::RoundToSignificantDigits(1234.5, 0), 1234.5);
    EXPECT_EQ(DataFormat::RoundToSignificantDigits(1234.5, -1), 1234.5);
    EXPECT_EQ(DataFormat::RoundToSignificantDigits(0.0, 3), 0.0);
    EXPECT_TRUE(std::isnan(DataFormat::RoundToSignificantDigits(std::nan(""), 3)));
    EXPECT_EQ(DataFormat::RoundToSignificantDigits(-std::numeric_limits<double>::infinity(), 3),
              -std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(DataFormat::RoundToSignificantDigits(1234.5, 2), 1200.0);
    EXPECT_DOUBLE_EQ(DataFormat::RoundToSignificantDigits(-0.00123456, 3), -0.00123);
    EXPECT_NEAR(DataFormat::RoundToSignificantDigits(5.04e-300, 2), 5e-300, 1e-312);
}

TEST(DataFormat, TrackedDecimalsGiveAColumnOnePrecision)
{
    DataFormat format;
    EXPECT_EQ(format.GetDecimals(), 0);
    EXPECT_EQ(format.TrackDecimals(1.5, 0, true, false), 1);
    EXPECT_EQ(format.TrackDecimals(2.25, 0, false, false), 2);
    EXPECT_EQ(format.TrackDecimals(3.0, 0, false, false), 1);
    EXPECT_EQ(format.GetDecimals(), 2);
    EXPECT_EQ(format.FormatWithDecimals(7.0), "7.00");

    // Only digits: no decimals. Reset takes the count even when smaller.
    EXPECT_EQ(format.TrackDecimals(12.0, 0, false, true), 0);
    EXPECT_EQ(format.TrackDecimals(std::nan(""), 0, false, true), 0);
    EXPECT_EQ(format.GetDecimals(), 2);
    EXPECT_EQ(format.TrackDecimals(12.0, 0, true, true), 0);
    EXPECT_EQ(format.FormatWithDecimals(7.456), "7");
}

// Displayed numbers take the separator of the user-interface language; SQL and XML text always
// '.', also under a German process locale.
TEST(DataFormat, DecimalSeparatorOnlyForDisplay)
{
    EXPECT_EQ(DataFormat::GetDisplayDecimalSeparator(), '.');
    DataFormat::SetDisplayDecimalSeparator(',');
    CLocaleScope german("de_DE.UTF-8");
    DataFormat format;
    format.TrackDecimals(2.25, 0, true, false);
    EXPECT_EQ(DataFormat::Format(12.5, 0, false), "12,5");
    EXPECT_EQ(DataFormat::Format(12.0, 0, true), "12");
    EXPECT_EQ(DataFormat::Format(-1234567.0, 3, false), "-1230000,0");
    EXPECT_EQ(format.FormatWithDecimals(7.0), "7,00");
    EXPECT_EQ(DataFormat::FormatFixed(5.0833, 2), "5,08");
    EXPECT_EQ(DataFormat::FormatFixed(12.5, 0), "12");
    EXPECT_EQ(DataFormat::FormatSql(12.5, -1, false), "12.5");
    EXPECT_EQ(DataFormat::FormatSql(0.95, -1, false), "0.95");
    EXPECT_EQ(DataFormat::FormatSql(2.0, -1, false), "2.0");
    EXPECT_EQ(DataFormat::FormatSql(std::nan(""), -1, false), "NaN");
    DataFormat::SetDisplayDecimalSeparator('.');
}

}  // namespace

TEST(DataFormatParse, EitherSeparatorAndNothingReadsAsZero)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1.5", 1.5}, {"1,5", 1.5}, {" -2.25", -2.25}, {"+3", 3.0}, {"1000.0", 1000.0}, {"2.5e-3", 0.0025},
        {"4kg", 4.0}, {"", 0.0},     {"abc", 0.0},      {"+-1", 0.0}, {",5", 0.5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DataFormat::Parse(c.text), c.value) << c.text;
}
