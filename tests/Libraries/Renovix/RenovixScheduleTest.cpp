#include "Renovix/RenovixLib/Renovix.h"
#include "Renovix/RenovixLib/RenovixSchedule.h"
#include "TimeZoneScope.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

namespace {

// A local time "YYYY-MM-DD hh:mm:ss" in the current zone.
std::time_t Local(const std::string& text)
{
    SRenovixTime time;
    EXPECT_TRUE(CRenovixSettings::ParseTime(text, time)) << text;
    std::tm tm{};
    tm.tm_year = time.year - 1900;
    tm.tm_mon = time.month - 1;
    tm.tm_mday = time.day;
    tm.tm_hour = time.hour;
    tm.tm_min = time.minute;
    tm.tm_sec = time.second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

constexpr char kFar[] = "2100-12-31 00:00:00";

struct SNextCase {
    const char* schedule;
    const char* now;
    const char* next;
};

// In Berlin summer time begins on 2026-03-29 (02:00 -> 03:00) and ends on 2026-10-25
// (03:00 -> 02:00). 2026-04-15 is a Wednesday.
const SNextCase kNextCases[] = {
    {"DAILY|06:30", "2026-04-15 07:00:00", "2026-04-16 06:30:00"},
    {"DAILY|06:30", "2026-04-15 06:00:00", "2026-04-15 06:30:00"},
    {"daily|06:30", "2026-04-15 06:30:00", "2026-04-15 06:30:00"},
    {"DAILY|06:30", "2026-12-31 23:00:00", "2027-01-01 06:30:00"},
    {"WEEKLY|0100000|08:00", "2026-04-15 10:00:00", "2026-04-20 08:00:00"},
    {"WEEKLY|0100000|08:00", "2026-04-20 07:00:00", "2026-04-20 08:00:00"},
    {"WEEKLY|0100000|08:00", "2026-04-20 09:00:00", "2026-04-27 08:00:00"},
    {"WEEKLY|1000001|08:00", "2026-04-15 10:00:00", "2026-04-18 08:00:00"},
    {"MONTHLY|31|08:00", "2026-04-10 12:00:00", "2026-05-31 08:00:00"},
    {"MONTHLY|15|08:00", "2026-04-15 07:59:00", "2026-04-15 08:00:00"},
    {"MONTHLY|0|08:00", "2026-04-10 12:00:00", "2026-05-01 08:00:00"},
    {"MONTHLY|45|08:00", "2026-04-10 12:00:00", "2026-05-31 08:00:00"},
    {"INTERVAL|3|08:00", "2026-04-15 09:00:00", "2026-04-18 08:00:00"},
    {"INTERVAL|3|08:00", "2026-04-15 07:00:00", "2026-04-15 08:00:00"},
    {"INTERVAL|0|08:00", "2026-04-15 09:00:00", "2026-04-16 08:00:00"},
    {"EVERYSTART", "2026-04-15 09:10:11", "2026-04-14 09:10:11"},
    // Across the daylight-saving changes the wall-clock time stays.
    {"DAILY|06:30", "2026-03-28 07:00:00", "2026-03-29 06:30:00"},
    {"INTERVAL|2|06:30", "2026-03-28 07:00:00", "2026-03-30 06:30:00"},
    {"WEEKLY|1000000|06:30", "2026-10-24 07:00:00", "2026-10-25 06:30:00"},
    {"DAILY|23:30", "2026-10-25 01:00:00", "2026-10-25 23:30:00"},
    {"EVERYSTART", "2026-03-30 02:30:00", "2026-03-29 03:30:00"},
    // The hour the clock skips is run right after the gap.
    {"DAILY|02:30", "2026-03-28 07:00:00", "2026-03-29 03:30:00"},
    // Texts that name no time give the far future, as does a schedule that never runs.
    {"MANUALLY", "2026-04-15 07:00:00", kFar},
    {"DAILY|6:30", "2026-04-15 07:00:00", kFar},
    {"DAILY|24:00", "2026-04-15 07:00:00", kFar},
    {"DAILY|06:60", "2026-04-15 07:00:00", kFar},
    {"DAILY|ab:cd", "2026-04-15 07:00:00", kFar},
    {"WEEKLY|0100000|8:00", "2026-04-15 07:00:00", kFar},
    {"MONTHLY|31", "2026-04-15 07:00:00", kFar},
    {"MONTHLY|31|8:00", "2026-04-15 07:00:00", kFar},
    {"HOURLY|08:00", "2026-04-15 07:00:00", kFar},
    {"", "2026-04-15 07:00:00", kFar},
    // Schedules that never reach a day end instead of searching for ever.
    {"WEEKLY|0000000|08:00", "2026-04-15 07:00:00", kFar},
    {"MONTHLY|-5|08:00", "2026-04-10 12:00:00", "2026-05-01 08:00:00"},
    {"INTERVAL|-2|08:00", "2026-04-15 09:00:00", "2026-04-16 08:00:00"},
};

TEST(RenovixScheduleTest, NextDateOfEverySchedule)
{
    CTimeZoneScope zone("Europe/Berlin");
    for (const SNextCase& c : kNextCases) {
        const SRenovixTime next = CRenovixSchedule::NextDate(c.schedule, Local(c.now));
        EXPECT_EQ(CRenovixSettings::FormatTime(next), c.next) << c.schedule << " at " << c.now;
        EXPECT_EQ(next.milliseconds, 0);
    }
}

TEST(RenovixScheduleTest, NextDateCarriesItsDayOfWeek)
{
    CTimeZoneScope zone("Europe/Berlin");
    EXPECT_EQ(CRenovixSchedule::NextDate("WEEKLY|0100000|08:00", Local("2026-04-15 10:00:00")).dayOfWeek, 1);
    EXPECT_EQ(CRenovixSchedule::NextDate("DAILY|08:00", Local("2026-04-15 07:00:00")).dayOfWeek, 3);
}

TEST(RenovixScheduleTest, ClientComputesFromItsClock)
{
    CTimeZoneScope zone("Europe/Berlin");
    CRenovix client;
    client.SetClock([] { return Local("2026-04-15 07:00:00"); });
    EXPECT_EQ(CRenovixSettings::FormatTime(client.GetNextDate("DAILY|06:30")), "2026-04-16 06:30:00");

    CRenovixSettings settings;
    CRenovixSettings::SetDefaults(settings);
    settings.schedule = "DAILY|06:30";
    EXPECT_FALSE(client.IsUpdateDue(settings));
    CRenovixSettings::ParseTime("2026-04-15 07:00:00", settings.nextRun);
    EXPECT_TRUE(client.IsUpdateDue(settings));
}

TEST(RenovixScheduleTest, DueWhenTheNextRunHasComeExceptManually)
{
    CTimeZoneScope zone("Europe/Berlin");
    const std::time_t now = Local("2026-04-15 07:00:00");
    const struct {
        const char* schedule;
        const char* nextRun;
        bool due;
    } cases[] = {
        {"DAILY|06:30", "2026-04-15 06:59:59", true},
        {"DAILY|06:30", "2026-04-15 07:00:00", true},
        {"DAILY|06:30", "2026-04-15 07:00:01", false},
        {"EverySTART", kFar, true},
        {"Manually", "2000-01-01 00:00:00", false},
        {"", "2000-01-01 00:00:00", true},
    };
    for (const auto& c : cases) {
        CRenovixSettings settings;
        settings.schedule = c.schedule;
        CRenovixSettings::ParseTime(c.nextRun, settings.nextRun);
        EXPECT_EQ(CRenovixSchedule::IsDue(settings, now), c.due) << c.schedule << " " << c.nextRun;
    }
}

}  // namespace
