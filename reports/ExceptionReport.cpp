// The rules of the exception report. Standard library and core only.
#include "reports/ExceptionReport.h"

#include <algorithm>
#include <tuple>
#include <unordered_set>

namespace kestrova {

namespace {

constexpr std::string_view kBatonUploadId = "000000";

// A clocking of a checkpoint in the same or the next minute after its previous one.
constexpr Minutes kDuplicateMinutes = 1;

struct ShiftWork {
    const PatrolSchedule& schedule;
    int checkpointCount;
    // Clocking times of each checkpoint in the current shift; kept between shifts so that
    // their storage is reused.
    std::vector<std::vector<Minutes>> times;
};

int madeClockings(const std::vector<std::vector<Minutes>>& times) {
    int made = 0;
    for (const auto& list : times) {
        Minutes previous = 0;
        bool first = true;
        for (const Minutes t : list) {
            if (first || t - previous > kDuplicateMinutes)
                ++made;
            previous = t;
            first = false;
        }
    }
    return made;
}

void findMissedPoints(const ShiftWork& work, const ShiftOutcome& shift, int shiftIndex,
                      std::vector<PatrolException>& out) {
    const Minutes period = work.schedule.periodMinutes();
    for (int cp = 0; cp < work.checkpointCount; ++cp) {
        Minutes from = shift.start;
        const auto gap = [&](Minutes to) {
            if (to - from > period)
                out.push_back({ExceptionKind::MissedPoint, from, static_cast<int>(to - from), cp,
                               shiftIndex});
            from = to;
        };
        for (const Minutes t : work.times[static_cast<std::size_t>(cp)])
            gap(t);
        gap(shift.end);
    }
}

void checkShift(ShiftWork& work, const std::vector<ExceptionClocking>& clockings,
                ShiftOutcome& shift, int shiftIndex, std::vector<PatrolException>& out) {
    const auto byTime = [](const ExceptionClocking& c, Minutes t) { return c.time < t; };
    const auto begin = std::lower_bound(clockings.begin(), clockings.end(), shift.start, byTime);
    const auto end = std::lower_bound(begin, clockings.end(), shift.end, byTime);
    const int length = static_cast<int>(shift.end - shift.start);
    if (begin == end) {
        out.push_back({ExceptionKind::ShiftNotDone, shift.start, length, -1, shiftIndex});
        return;
    }
    for (auto& list : work.times)
        list.clear();
    for (auto it = begin; it != end; ++it)
        if (it->checkpoint >= 0 && it->checkpoint < work.checkpointCount)
            work.times[static_cast<std::size_t>(it->checkpoint)].push_back(it->time);
    shift.made = madeClockings(work.times);
    if (shift.required > 0 && 2 * shift.made < shift.required)
        out.push_back({ExceptionKind::FailedPatrol, shift.start, length, -1, shiftIndex});
    findMissedPoints(work, shift, shiftIndex, out);
}

} // namespace

CalendarDay makeDay(int year, int month, int day) {
    return CalendarDay{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                       std::chrono::day{static_cast<unsigned>(day)}};
}

Minutes minutesAt(CalendarDay day, int minute) {
    return static_cast<Minutes>(day.time_since_epoch().count()) * kMinutesPerDay + minute;
}

CalendarDay dayOf(Minutes minute) {
    const Minutes days =
        minute >= 0 ? minute / kMinutesPerDay : -((-minute + kMinutesPerDay - 1) / kMinutesPerDay);
    return CalendarDay{std::chrono::days{days}};
}

int minuteOfDay(Minutes minute) {
    return static_cast<int>(minute - minutesAt(dayOf(minute), 0));
}

std::optional<int> ShiftOutcome::share() const {
    if (running || required <= 0)
        return std::nullopt;
    return static_cast<int>(std::min<std::int64_t>(100, std::int64_t{made} * 100 / required));
}

std::vector<Checkpoint> patrolCheckpoints(const std::vector<Checkpoint>& list) {
    std::vector<Checkpoint> result;
    std::unordered_set<std::string> seen;
    for (const auto& checkpoint : list)
        if (checkpoint.id != kBatonUploadId && seen.insert(checkpoint.id).second)
            result.push_back(checkpoint);
    return result;
}

ExceptionFindings findExceptions(const PatrolSchedule& schedule, int checkpointCount,
                                 const std::vector<ExceptionClocking>& clockings, CalendarDay first,
                                 CalendarDay last, Minutes now) {
    ExceptionFindings findings;
    if (schedule.periodMinutes() <= 0)
        return findings;
    ShiftWork work{schedule, checkpointCount,
                   std::vector<std::vector<Minutes>>(static_cast<std::size_t>(checkpointCount))};
    for (CalendarDay day = first; day <= last; day += std::chrono::days{1}) {
        const unsigned weekday = std::chrono::weekday{day}.iso_encoding(); // Monday = 1
        const PatrolWindow& window = schedule.days[weekday - 1];
        if (!window.set)
            continue;
        ShiftOutcome shift;
        shift.start = minutesAt(day, window.startMinute);
        shift.end = shift.start + window.length();
        shift.running = shift.end > now;
        shift.required = (window.length() / schedule.periodMinutes()) * checkpointCount *
                         schedule.requiredBatons();
        const int index = static_cast<int>(findings.shifts.size());
        if (!shift.running)
            checkShift(work, clockings, shift, index, findings.exceptions);
        findings.shifts.push_back(shift);
    }
    std::stable_sort(findings.exceptions.begin(), findings.exceptions.end(),
                     [](const PatrolException& a, const PatrolException& b) {
                         return std::tie(a.time, a.kind, a.checkpoint) <
                                std::tie(b.time, b.kind, b.checkpoint);
                     });
    return findings;
}

} // namespace kestrova
