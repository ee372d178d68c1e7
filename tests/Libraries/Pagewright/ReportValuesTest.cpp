#include "Pagewright/ReportValues.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ReportValues, AdditiveCoordinates)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"100+20-5", 115}, {"-30", -30}, {"1 000", 1000}, {"abc", 0},       {"", 0},
        {nullptr, 0},      {"12mm", 12}, {"+5", 5},       {"5-", 5},        {"99999999999999", INT_MAX},
        {"-99999999999999", -INT_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Pagewright::ParseCoordinate(c.text), c.value) << (c.text ? c.text : "(null)");
}

TEST(ReportValues, Colours)
{
    const struct {
        const char* text;
        ReportColor color;
    } cases[] = {
        {"#FF8000", 0x0080FF}, {"FF8000", 0x0080FF}, {" #ff8000 ", 0x0080FF}, {"#F80", 0},
        {"", 0},               {"#0000FF", 0xFF0000}, {"#zz0010", 0x100000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Pagewright::ParseReportColor(c.text), c.color) << c.text;
    EXPECT_EQ(Pagewright::FormatReportColor(0x0080FF), "#ff8000");
    EXPECT_EQ(Pagewright::FormatReportColor(0x0080FF, true), "#FF8000");
}

TEST(ReportValues, AnglesAreWrittenInRoundedTenths)
{
    EXPECT_EQ(Pagewright::AngleTenths(90.0), 900);
    EXPECT_EQ(Pagewright::AngleTenths(-45.0), -450);  // not -449: a saved angle must read back
    EXPECT_EQ(Pagewright::AngleTenths(12.34), 123);
    EXPECT_EQ(Pagewright::AngleTenths(-12.36), -124);
}

TEST(ReportValues, NumericText)
{
    for (const char* text : {"", "0", "9.5", "-1", "+2.", ".5"})
        EXPECT_TRUE(Pagewright::IsNumericText(text)) << text;
    for (const char* text : {"abc", "1.2.3", "1-2", " 1", "1,5", "1e5"})
        EXPECT_FALSE(Pagewright::IsNumericText(text)) << text;
}

TEST(ReportValues, RotationTurnsCornersAroundTheTopLeft)
{
    SReportPoint corner{100, 0};
    Pagewright::RotatePoint(0, 0, corner, 90.0);
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, -100);

    SReportPoint centre{5, 5};
    Pagewright::RotatePoint(5, 5, centre, 45.0);
    EXPECT_EQ(centre.x, 5);
    EXPECT_EQ(centre.y, 5);
}

TEST(ReportValues, EscapesAreReplacedOneKindAfterTheOther)
{
    EXPECT_EQ(Pagewright::UnescapeReportText("a\\nb\\tc\\\\d\\'\\\"\\?"), "a\nb\tc\\d'\"?");
    // Each escape runs over the whole text in turn, the double backslash last: in "\\n" the
    // "\n" is found first.
    EXPECT_EQ(Pagewright::UnescapeReportText("\\\\n"), "\\\n");
    EXPECT_EQ(Pagewright::UnescapeReportText("end\\"), "end\\");
}

}  // namespace
