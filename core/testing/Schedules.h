// Failed-patrol schedules for tests and benchmarks: the same shift every day of the week, for
// one baton, checked as failed patrols.
#pragma once

#include "core/CheckpointList.h"

#include <string>

namespace kestrova::testing {

// Rounds of `round` minutes with `rest` minutes between them (three digits, "015"), from `start`
// to `finish` ("09h00") every day.
inline ScheduleValues everyDaySchedule(const std::string& round, const std::string& rest,
                                       const std::string& start, const std::string& finish) {
    ScheduleValues schedule;
    schedule.fill("0");
    schedule[kRoundTime] = round;
    schedule[kRestTime] = rest;
    schedule[kNumBatons] = "1";
    schedule[kFailedPatrolType] = "1";
    for (std::size_t day = 0; day < 7; ++day) {
        schedule[kFirstDayTime + 2 * day] = start;
        schedule[kFirstDayTime + 2 * day + 1] = finish;
    }
    return schedule;
}

} // namespace kestrova::testing
