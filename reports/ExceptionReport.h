// The exception report of one site over a range of days: which shifts were not walked, which
// patrols were less than half done and which checkpoints waited longer than the schedule
// allows, with the share of the required clockings made in every shift. The rules work on
// plain values (the schedule, the checkpoints, the clockings); reading them from the site's
// files is the loader's part. Standard library and core only.
//
// The rules:
//  - A shift belongs to the day it starts on: from that weekday's start time to its finish
//    time, past midnight when the finish is not later than the start. A day of the range
//    whose weekday has no window has no shift. Clockings count from the start minute up to,
//    not including, the finish minute.
//  - A shift that has not ended by the time the report is made is listed as running and not
//    checked. A shift of the day before the range is not checked, even where it reaches into
//    the range; a shift of the range's last day is followed past midnight into the next day.
//  - "Shift not done": no clocking at all during the shift (any id). It stands alone: the
//    shift then gets no "Failed Patrol" and no "Missed Point" lines.
//  - "Failed Patrol": fewer than half the required clockings. Required: the whole patrol
//    periods (round + rest time) that fit into the shift, times the checkpoints, times the
//    number of batons on a multiple-baton site. Only clockings of the list's checkpoints are
//    made clockings, and a clocking of a checkpoint in the same or the next minute after its
//    previous clocking is a duplicate that is not counted. A shift shorter than one period
//    (or a site without checkpoints) requires nothing and cannot fail.
//  - "Missed Point": a checkpoint whose gap from the shift's start to its first clocking,
//    between two of its clockings, or from its last clocking to the shift's end is longer
//    than round + rest time. A gap of exactly round + rest time is allowed. A checkpoint not
//    clocked at all in a walked shift misses the whole shift.
//  - The checkpoints are those of the site's own list, each id once; "000000", the entry the
//    baton's own upload record gets, is not a patrol point.
//  - The share is made ÷ required in whole percent, at most 100.
#pragma once

#include "core/CheckpointList.h"
#include "reports/PatrolSchedule.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

using Minutes = std::int64_t; // minutes since 1 January 1970, local time

// A calendar day as a day number (days since 1 January 1970).
using CalendarDay = std::chrono::sys_days;

CalendarDay makeDay(int year, int month, int day);
Minutes minutesAt(CalendarDay day, int minuteOfDay);
CalendarDay dayOf(Minutes minute);
int minuteOfDay(Minutes minute);

struct ExceptionClocking {
    Minutes time = 0;
    int checkpoint = -1; // position in the report's checkpoint list; -1 for an id not listed
};

enum class ExceptionKind { ShiftNotDone, FailedPatrol, MissedPoint };

struct PatrolException {
    ExceptionKind kind = ExceptionKind::MissedPoint;
    Minutes time = 0;    // the shift's start, or the start of the gap
    int interval = 0;    // minutes: the shift's length, or the gap
    int checkpoint = -1; // the missed checkpoint; -1 for the kinds about a whole shift
    int shift = 0;       // position in the report's shifts
};

struct ShiftOutcome {
    Minutes start = 0;
    Minutes end = 0;      // the first minute after the shift
    bool running = false; // not ended when the report was made: not checked
    int made = 0;
    int required = 0;
    // made ÷ required in whole percent, at most 100; none when nothing is required or the
    // shift is running.
    std::optional<int> share() const;
};

struct ExceptionFindings {
    std::vector<ShiftOutcome> shifts;
    std::vector<PatrolException> exceptions; // in time order
};

// The checkpoints the report checks: the list's entries in order, each id once, without
// "000000".
std::vector<Checkpoint> patrolCheckpoints(const std::vector<Checkpoint>& list);

// The three rules over the days from `first` to `last`. `clockings` must be in time order;
// those outside the shifts are ignored. `now`: shifts ending later are running.
ExceptionFindings findExceptions(const PatrolSchedule& schedule, int checkpointCount,
                                 const std::vector<ExceptionClocking>& clockings, CalendarDay first,
                                 CalendarDay last, Minutes now);

} // namespace kestrova
