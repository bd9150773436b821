// A site's failed-patrol schedule read as the exception report needs it: round and rest time in
// minutes, the number of batons, the failed-patrol type and each weekday's patrol window, from
// the raw values of the list file's schedule block. Standard library and core only.
//
// A window runs from its start to its finish time on the same day, or past midnight when the
// finish is not later than the start ("01h00" to "01h00" is round the clock). Hour 24 is
// midnight, as the single-baton units count it.
#pragma once

#include "core/CheckpointList.h"

#include <array>
#include <optional>
#include <string>

namespace kestrova {

inline constexpr int kMinutesPerDay = 24 * 60;

struct PatrolWindow {
    bool set = false;                  // both times blank: no patrol that weekday
    int startMinute = 0;               // minutes after midnight, 0..1439
    int finishMinute = 0;              // minutes after midnight, 0..1439
    std::string startText, finishText; // "hhhmm" as the file holds them

    // Minutes the window lasts: 1..1440.
    int length() const;
};

enum class FailedPatrolType { None = 0, SingleBaton = 1, MultipleBaton = 2 };

struct PatrolSchedule {
    int roundMinutes = 0;
    int restMinutes = 0;
    int batons = 1;
    int type = 0;                       // the type index as stored
    std::array<PatrolWindow, 7> days{}; // Monday first

    // Round time plus rest time: the longest a checkpoint may wait for its next clocking.
    int periodMinutes() const { return roundMinutes + restMinutes; }
    // The batons whose clockings a shift requires: the number of batons for a multiple-baton
    // site, otherwise one.
    int requiredBatons() const;
};

enum class ScheduleStatus {
    Ready,      // a schedule to check the clockings against
    Missing,    // no list file, a round time of zero, or no weekday with a patrol window
    Unreadable, // a value that is not a number, or a time that is not a clock time
};

struct ScheduleReading {
    ScheduleStatus status = ScheduleStatus::Missing;
    PatrolSchedule schedule;
};

// Reads the eighteen raw values of a list file's schedule block.
ScheduleReading readPatrolSchedule(const ScheduleValues& raw);

// "hhhmm" with hour 0..24 and minute 0..59 (hour 24 only with minute 0) as minutes after
// midnight; none for anything else.
std::optional<int> parsePatrolTime(const std::string& text);

} // namespace kestrova
