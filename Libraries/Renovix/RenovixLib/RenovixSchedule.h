// When the next automatic update runs. Schedule texts (keywords in any letter case):
//   manually                 never automatically
//   everystart               at every start of the program
//   daily|HH:MM              every day at HH:MM
//   weekly|SMTWTFS|HH:MM     at HH:MM on the days whose mask character is not '0' (Sunday first)
//   monthly|D|HH:MM          at HH:MM on day D of the month
//   interval|N|HH:MM         at HH:MM today when that has not passed yet, else N days later
// Times are local wall-clock times: a day later is the same time on the next calendar day,
// also across a daylight-saving change.
#pragma once

#include "Renovix/RenovixLib/RenovixSettings.h"
#include "Renovix/RenovixLib/RenovixTime.h"

#include <ctime>
#include <string>

class CRenovixSchedule {
public:
    // 2100-12-31 00:00:00: what a schedule that never runs, or one that does not parse, gives.
    static SRenovixTime FarFuture();

    // The next run of the schedule counted from now.
    static SRenovixTime NextDate(const std::string& schedule, std::time_t now);

    // Never for "manually", always for "everystart", else when the next run time is not after
    // now.
    static bool IsDue(const CRenovixSettings& settings, std::time_t now);

    // The local time of t, to the second.
    static SRenovixTime LocalTime(std::time_t t);
};
