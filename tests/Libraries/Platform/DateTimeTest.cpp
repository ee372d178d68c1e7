#include "Platform/DateTime.h"
#include "support/EnvironmentScope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

TEST(DateTime, ComponentsAndAutomationDatesAgree)
{
    struct Case {
        int year, month, day, hour, minute, second;
        double oleDate;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 0, 0, 0.0},       {1900, 1, 1, 0, 0, 0, 2.0},
        {1899, 12, 29, 6, 0, 0, -1.25},     {1899, 12, 30, 12, 0, 0, 0.5},
        {2000, 2, 29, 18, 0, 0, 36585.75},  {100, 1, 1, 0, 0, 0, -657434.0},
        {9999, 12, 31, 0, 0, 0, 2958465.0}, {1970, 1, 1, 0, 0, 0, 25569.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.oleDate);
        const CDateTime fromParts(c.year, c.month, c.day, c.hour, c.minute, c.second);
        EXPECT_EQ(fromParts.GetStatus(), CDateTime::valid);
        EXPECT_DOUBLE_EQ(fromParts.GetOleDate(), c.oleDate);
        const CDateTime fromDate(c.oleDate);
        EXPECT_EQ(fromDate.GetStatus(), CDateTime::valid);
        EXPECT_EQ(fromDate.GetYear(), c.year);
        EXPECT_EQ(fromDate.GetMonth(), c.month);
        EXPECT_EQ(fromDate.GetDay(), c.day);
        EXPECT_EQ(fromDate.GetHour(), c.hour);
        EXPECT_EQ(fromDate.GetMinute(), c.minute);
        EXPECT_EQ(fromDate.GetSecond(), c.second);
        EXPECT_EQ(fromDate, fromParts);
    }
}

TEST(DateTime, TimeOfDayIsRoundedToTheSecond)
{
    // 23:59:59.9999 rounds into the next day.
    const CDateTime late(1.0 - 0.0001 / 86400);
    EXPECT_EQ(late, CDateTime(1899, 12, 31, 0, 0, 0));
    const CDateTime noonish(0.5 + 0.4 / 86400);
    EXPECT_EQ(noonish.GetSecond(), 0);
}

TEST(DateTime, ImpossibleValuesAreInvalid)
{
    const int parts[][6] = {
        {2023, 2, 29, 0, 0, 0}, {1900, 2, 29, 0, 0, 0}, {2024, 13, 1, 0, 0, 0}, {2024, 4, 31, 0, 0, 0},
        {2024, 1, 1, 24, 0, 0}, {2024, 1, 1, 0, 60, 0}, {2024, 1, 1, 0, 0, 60}, {99, 12, 31, 0, 0, 0},
        {10000, 1, 1, 0, 0, 0}, {2024, 0, 1, 0, 0, 0}, {2024, 1, 0, 0, 0, 0},
    };
    for (const auto& p : parts) {
        CDateTime date(p[0], p[1], p[2], p[3], p[4], p[5]);
        EXPECT_EQ(date.GetStatus(), CDateTime::invalid) << p[0] << "-" << p[1] << "-" << p[2];
        EXPECT_EQ(date.Format("%Y"), "");
    }
    EXPECT_EQ(CDateTime(2958466.0).GetStatus(), CDateTime::invalid);
    EXPECT_EQ(CDateTime(-657435.0).GetStatus(), CDateTime::invalid);
    EXPECT_EQ(CDateTime(std::nan("")).GetStatus(), CDateTime::invalid);
    CDateTime date;
    EXPECT_EQ(date.SetDateTime(2024, 2, 30, 0, 0, 0), 1);
    EXPECT_EQ(date.SetDateTime(2024, 2, 29, 0, 0, 0), 0);
    EXPECT_EQ(date.GetStatus(), CDateTime::valid);
}

TEST(DateTime, FormatsWithStrftimePatterns)
{
    const CDateTime date(2024, 3, 5, 7, 8, 9);
    EXPECT_EQ(date.Format("%Y-%m-%d %H:%M:%S"), "2024-03-05 07:08:09");
    EXPECT_EQ(date.Format("%d.%m.%y %j %w"), "05.03.24 065 2");
    EXPECT_EQ(date.GetDayOfWeek(), 3);  // Tuesday
    EXPECT_EQ(date.GetDayOfYear(), 65);
    EXPECT_EQ(date.Format(""), "");
    CDateTime null = date;
    null.SetStatus(CDateTime::null);
    EXPECT_EQ(null.Format("%Y"), "");
}

TEST(DateTime, ComparesInTimeOrderAcrossTheEpoch)
{
    const CDateTime before(1899, 12, 29, 18, 0, 0);  // -1.75
    const CDateTime epoch(1899, 12, 30, 0, 0, 0);
    const CDateTime earlier(1899, 12, 29, 6, 0, 0);  // -1.25, numerically larger than -1.75
    EXPECT_LT(earlier, before);
    EXPECT_LT(before, epoch);
    EXPECT_GT(epoch, earlier);
    EXPECT_LE(epoch, epoch);
    EXPECT_GE(epoch, epoch);
    EXPECT_NE(earlier, before);

    CDateTime null1 = epoch, null2 = before;
    null1.SetStatus(CDateTime::null);
    null2.SetStatus(CDateTime::null);
    EXPECT_EQ(null1, null2);
    EXPECT_NE(null1, epoch);
    EXPECT_LT(epoch, null1);
}

TEST(DateTime, CurrentTimeIsTheLocalClock)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const CDateTime current = CDateTime::GetCurrentTime();
    ASSERT_EQ(current.GetStatus(), CDateTime::valid);
    const CDateTime expected(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                             local.tm_sec);
    EXPECT_LE(std::abs(current.GetOleDate() - expected.GetOleDate()) * 86400, 2.0);
}

// Dates a user reads (report footers, the log's head) follow his own locale, not the C locale
// the program runs its numbers in.
TEST(DateTime, UserTimeTextFollowsTheLocaleOfTheEnvironment)
{
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 11;
    time.tm_hour = 14;
    time.tm_min = 5;
    const CEnvironmentScope all("LC_ALL", nullptr);
    const struct {
        const char* locale;
        const char* text;
    } cases[] = {{"de_DE.utf8", "11.12.2026 14:05:00"}, {"C", "12/11/26 14:05:00"}};
    for (const auto& c : cases) {
        const CEnvironmentScope timeLocale("LC_TIME", c.locale);
        EXPECT_EQ(Platform::UserTimeText("%x %X", time), c.text) << c.locale;
    }
}
