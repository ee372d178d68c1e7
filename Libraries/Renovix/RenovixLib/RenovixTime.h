// A local calendar time as the update settings store it: the next run and the next notice.
#pragma once

#include <tuple>

struct SRenovixTime {
    int year = 0;
    int month = 0;
    int dayOfWeek = 0;  // 0 Sunday ... 6 Saturday
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;

    // By the calendar fields alone, so a time compares the same whatever daylight-saving rule
    // applies.
    bool operator<(const SRenovixTime& other) const { return Key() < other.Key(); }
    bool operator<=(const SRenovixTime& other) const { return !(other < *this); }
    bool operator==(const SRenovixTime& other) const { return Key() == other.Key(); }
    bool operator!=(const SRenovixTime& other) const { return !(*this == other); }

private:
    std::tuple<int, int, int, int, int, int, int> Key() const
    {
        return std::make_tuple(year, month, day, hour, minute, second, milliseconds);
    }
};
