#include "Renovix/RenovixLib/RenovixSchedule.h"

#include "Platform/AsciiText.h"
#include "Platform/DateTime.h"

#include <cstdlib>

namespace {

// Far more steps than any valid schedule takes (a monthly day 31 needs at most 62), so a
// schedule that names no reachable day ends instead of looping.
constexpr int kMaxSteps = 800;

// A local time on a calendar day (days since 1970-01-01) at hour:minute. Steps are whole
// calendar days, never seconds, which a daylight-saving change would shift by an hour.
struct SCandidate {
    long long days;
    int hour, minute;

    // mktime puts a time that the clock skips (02:30 on the day summer time starts) after the gap.
    std::time_t Seconds() const
    {
        int year, month, day;
        Platform::CivilFromDays(days, year, month, day);
        std::tm tm{};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        tm.tm_isdst = -1;
        return std::mktime(&tm);
    }
    int DayOfWeek() const { return static_cast<int>(((days % 7) + 11) % 7); }  // 1970-01-01 was a Thursday
    int DayOfMonth() const
    {
        int year, month, day;
        Platform::CivilFromDays(days, year, month, day);
        return day;
    }
};

// "HH:MM": two digits, any character, two digits, within a day.
bool ParseClock(const std::string& text, int& hour, int& minute)
{
    if (text.size() != 5)
        return false;
    for (size_t i : {0, 1, 3, 4})
        if (text[i] < '0' || text[i] > '9')
            return false;
    hour = (text[0] - '0') * 10 + (text[1] - '0');
    minute = (text[3] - '0') * 10 + (text[4] - '0');
    return hour < 24 && minute < 60;
}

}  // namespace

SRenovixTime CRenovixSchedule::FarFuture()
{
    SRenovixTime time;
    time.year = 2100;
    time.month = 12;
    time.day = 31;
    return time;
}

SRenovixTime CRenovixSchedule::LocalTime(std::time_t t)
{
    std::tm tm{};
    localtime_r(&t, &tm);
    SRenovixTime time;
    time.year = tm.tm_year + 1900;
    time.month = tm.tm_mon + 1;
    time.dayOfWeek = tm.tm_wday;
    time.day = tm.tm_mday;
    time.hour = tm.tm_hour;
    time.minute = tm.tm_min;
    time.second = tm.tm_sec;
    return time;
}

SRenovixTime CRenovixSchedule::NextDate(const std::string& schedule, std::time_t now)
{
    const std::string text = Platform::AsciiLowerText(schedule);
    const size_t bar = text.find('|');
    const std::string keyword = text.substr(0, bar);
    const std::string rest = bar == std::string::npos ? std::string() : text.substr(bar + 1);

    const SRenovixTime today = LocalTime(now);
    SCandidate candidate{Platform::DaysFromCivil(today.year, static_cast<unsigned>(today.month),
                                                 static_cast<unsigned>(today.day)),
                         0, 0};

    if (keyword == "everystart") {
        --candidate.days;
        candidate.hour = today.hour;
        candidate.minute = today.minute;
        SRenovixTime result = LocalTime(candidate.Seconds());
        result.second = today.second;
        return result;
    }

    // What a candidate must fulfil besides not lying before now, and how far to step.
    bool dayOn[7] = {true, true, true, true, true, true, true};
    int dayOfMonth = 0;  // 0: any
    long long step = 1;
    std::string clock;
    if (keyword == "daily") {
        clock = rest;
    } else if (keyword == "weekly") {
        if (rest.size() != 13)
            return FarFuture();
        for (int i = 0; i < 7; ++i)
            dayOn[i] = rest[i] != '0';
        clock = rest.substr(8);
    } else if (keyword == "monthly" || keyword == "interval") {
        const size_t inner = rest.find('|');
        if (inner == std::string::npos || rest.find(':') == std::string::npos)
            return FarFuture();
        // Zero and negative numbers as 1: a negative day or interval never ended the search.
        int number = std::atoi(rest.substr(0, inner).c_str());
        if (number < 1)
            number = 1;
        if (keyword == "monthly")
            dayOfMonth = number > 31 ? 31 : number;
        else
            step = number;
        clock = rest.substr(inner + 1);
    } else {
        return FarFuture();
    }
    if (!ParseClock(clock, candidate.hour, candidate.minute))
        return FarFuture();

    for (int i = 0; i < kMaxSteps; ++i) {
        const std::time_t seconds = candidate.Seconds();
        if (seconds == static_cast<std::time_t>(-1))
            return FarFuture();
        if (seconds >= now && dayOn[candidate.DayOfWeek()] &&
            (dayOfMonth == 0 || candidate.DayOfMonth() == dayOfMonth))
            return LocalTime(seconds);
        candidate.days += step;
    }
    return FarFuture();
}

bool CRenovixSchedule::IsDue(const CRenovixSettings& settings, std::time_t now)
{
    if (Platform::EqualsNoCase(settings.schedule, "manually"))
        return false;
    if (Platform::EqualsNoCase(settings.schedule, "everystart"))
        return true;
    return settings.nextRun <= LocalTime(now);
}
