// The site-settings panel's rules: what each unit type can take, and how the fields are put
// right for it.
#include "sites/Schedule.h"

#include "sites/Numbers.h"

#include <functional>

namespace kestrova {

namespace {

constexpr int kRoundStep = 15;
constexpr int kRestStep = 5;
constexpr std::string_view kOneOClock = "01h00";

FieldColour colourFor(bool passes) {
    return passes ? FieldColour::Normal : FieldColour::Red;
}

bool divisible(std::string_view text, int step) {
    const auto value = readNumber(text);
    return value && *value % step == 0;
}

// A single-baton unit takes whole hours from 1 to 24.
bool wholeHourFromOneTo24(std::string_view time) {
    const auto hour = readNumberAt(time, 0, 2);
    const auto minutes = readNumberAt(time, 3, 2);
    return hour && minutes && *minutes == 0 && *hour >= 1 && *hour <= 24;
}

// A failing check reddens its label and field and offers AutoCorrect; all but a readable number
// of batons also stop the programming.
struct Checker {
    ScheduleCheckState& state;
    void apply(bool passes, FieldColour& label, FieldColour& field, bool blocksProgramming) {
        label = field = colourFor(passes);
        if (passes)
            return;
        state.warningShown = state.autoCorrectShown = true;
        if (blocksProgramming)
            state.programEnabled = false;
    }
};

void checkUnitLimits(const ScheduleFields& f, ScheduleCheckState& state) {
    const bool single = f.type == FailedPatrolType::Single;
    Checker check{state};
    check.apply(divisible(f.roundTime, kRoundStep) && f.roundTime != "000", state.roundLabel,
                state.roundField, true);
    check.apply(single ? f.restTime == "000"
                       : divisible(f.restTime, kRestStep) && f.restTime != "005",
                state.restLabel, state.restField, true);
    const bool sameWindow = f.start[0] == f.finish[0];
    check.apply(single ? wholeHourFromOneTo24(f.start[0]) : sameWindow, state.startLabel,
                state.startFields[0], true);
    check.apply(single ? wholeHourFromOneTo24(f.finish[0]) : sameWindow, state.finishLabel,
                state.finishFields[0], true);
    const auto batons = readNumber(f.numBatons);
    check.apply(single ? f.numBatons == "1" : batons && *batons >= 1 && *batons <= 9,
                state.batonsLabel, state.batonsField, !batons.has_value());
}

// The six later days against Monday. Differing days are shown red, yet they do not stop the
// programming: only Monday's window goes into the baton.
void checkWeekdays(const std::array<std::string, kDaysInWeek>& times, bool typeNone,
                   std::array<FieldColour, kDaysInWeek>& colours, ScheduleCheckState& state) {
    bool same = true;
    for (int day = 1; day < kDaysInWeek; ++day)
        same = same && times[static_cast<std::size_t>(day)] == times[0];
    const bool normal = same || typeNone;
    for (int day = 1; day < kDaysInWeek; ++day)
        colours[static_cast<std::size_t>(day)] = colourFor(normal);
    if (!normal) {
        state.warningShown = state.autoCorrectShown = true;
        state.programEnabled = true;
    }
    colours[0] = FieldColour::Normal;
}

std::string correctRoundTime(const std::string& text) {
    const auto value = readNumber(text);
    if (!value)
        return "015";
    std::string result =
        *value % kRoundStep == 0 ? text : zeroPadded(multipleAtOrAbove(*value, kRoundStep), 3);
    return result == "000" ? "015" : result;
}

std::string correctMultipleRest(const std::string& text) {
    const auto value = readNumber(text);
    if (!value)
        return "010";
    std::string result =
        *value % kRestStep == 0 ? text : zeroPadded(multipleAtOrAbove(*value, kRestStep), 3);
    return result == "005" ? "000" : result;
}

bool readableTime(std::string_view time) {
    return readNumberAt(time, 0, 2) && readNumberAt(time, 3, 2);
}

std::string correctSingleTime(const std::string& time) {
    auto hour = readNumberAt(time, 0, 2);
    const auto minutes = readNumberAt(time, 3, 2);
    if (!hour || !minutes)
        return std::string(kOneOClock);
    if (*hour > 24)
        hour = 24;
    if (*hour <= 0)
        hour = 1;
    return zeroPadded(*hour, 2) + "h00";
}

std::string correctMultipleBatons(const std::string& text) {
    auto value = readNumber(text);
    if (!value)
        return "1";
    if (*value > 9)
        return "9";
    return *value <= 0 ? "1" : text;
}

} // namespace

ScheduleFields scheduleFromValues(const ScheduleValues& raw) {
    const ScheduleValues values = normaliseSchedule(raw);
    ScheduleFields fields;
    fields.roundTime = values[kRoundTime];
    fields.restTime = values[kRestTime];
    fields.numBatons = values[kNumBatons];
    const int type = failedPatrolTypeIndex(values);
    fields.type = type == 1   ? FailedPatrolType::Single
                  : type == 2 ? FailedPatrolType::Multiple
                              : FailedPatrolType::None;
    for (std::size_t day = 0; day < kDaysInWeek; ++day) {
        fields.start[day] = values[kFirstDayTime + 2 * day];
        fields.finish[day] = values[kFirstDayTime + 2 * day + 1];
    }
    return fields;
}

ScheduleValues scheduleToValues(const ScheduleFields& fields) {
    ScheduleValues values;
    values[kRoundTime] = fields.roundTime;
    values[kRestTime] = fields.restTime;
    values[kNumBatons] = fields.numBatons;
    values[kFailedPatrolType] = std::to_string(static_cast<int>(fields.type));
    for (std::size_t day = 0; day < kDaysInWeek; ++day) {
        values[kFirstDayTime + 2 * day] = fields.start[day];
        values[kFirstDayTime + 2 * day + 1] = fields.finish[day];
    }
    return values;
}

const std::string& typeName(FailedPatrolType type) {
    static const std::array<std::string, 3> names = {"none", "Single Baton", "Multiple Baton"};
    return names[static_cast<std::size_t>(type)];
}

ScheduleCheckState CheckSchedule(const ScheduleFields& fields) {
    ScheduleCheckState state;
    const bool none = fields.type == FailedPatrolType::None;
    if (!none) {
        state.programEnabled = true;
        checkUnitLimits(fields, state);
    }
    checkWeekdays(fields.start, none, state.startFields, state);
    checkWeekdays(fields.finish, none, state.finishFields, state);
    return state;
}

ScheduleFields AutoCorrect(const ScheduleFields& fields) {
    if (fields.type == FailedPatrolType::None)
        return fields;
    ScheduleFields result = fields;
    result.roundTime = correctRoundTime(fields.roundTime);
    if (fields.type == FailedPatrolType::Single) {
        result.restTime = "000";
        result.start[0] = correctSingleTime(fields.start[0]);
        result.finish[0] = correctSingleTime(fields.finish[0]);
        result.numBatons = "1";
    } else {
        result.restTime = correctMultipleRest(fields.restTime);
        if (fields.start[0] != fields.finish[0] || !readableTime(fields.start[0]) ||
            !readableTime(fields.finish[0]))
            result.start[0] = result.finish[0] = std::string(kOneOClock);
        result.numBatons = correctMultipleBatons(fields.numBatons);
    }
    return AllDaysTheSame(result);
}

ScheduleFields AllDaysTheSame(const ScheduleFields& fields) {
    ScheduleFields result = fields;
    for (std::size_t day = 1; day < kDaysInWeek; ++day) {
        result.start[day] = fields.start[0];
        result.finish[day] = fields.finish[0];
    }
    return result;
}

ScheduleFields TwentyFourHourPatrols(const ScheduleFields& fields) {
    ScheduleFields result = fields;
    result.start.fill(std::string(kOneOClock));
    result.finish.fill(std::string(kOneOClock));
    return result;
}

} // namespace kestrova
