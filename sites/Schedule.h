// The failed-patrol schedule of a site as the site-settings panel edits it: the field texts
// and the unit type, the check that colours what the chosen unit cannot take, AutoCorrect,
// "All Days the Same" and "24 Hour Patrols". Pure functions over values, so the panel, the
// command line and the tests share one set of rules. Standard library and core only.
#pragma once

#include "core/CheckpointList.h"

#include <array>
#include <string>

namespace kestrova {

// The type index of the panel's type list.
enum class FailedPatrolType { None = 0, Single = 1, Multiple = 2 };

inline constexpr int kDaysInWeek = 7;
inline constexpr std::string_view kBlankTime = "  h  ";

struct ScheduleFields {
    std::string roundTime = "015";
    std::string restTime = "010";
    std::string numBatons = "1";
    FailedPatrolType type = FailedPatrolType::None;
    // Monday (0) to Sunday (6).
    std::array<std::string, kDaysInWeek> start{std::string(kBlankTime), std::string(kBlankTime),
                                               std::string(kBlankTime), std::string(kBlankTime),
                                               std::string(kBlankTime), std::string(kBlankTime),
                                               std::string(kBlankTime)};
    std::array<std::string, kDaysInWeek> finish = start;

    friend bool operator==(const ScheduleFields&, const ScheduleFields&) = default;
};

// The fields from a list file's values as the editor normalises them; ConversionError when the
// type's first character is not a digit. A type index outside the list counts as "none".
ScheduleFields scheduleFromValues(const ScheduleValues& raw);
// The values the list file stores: the field texts verbatim, the type as its index.
ScheduleValues scheduleToValues(const ScheduleFields& fields);

// The type list's entries ("none", "Single Baton", "Multiple Baton").
const std::string& typeName(FailedPatrolType type);

enum class FieldColour { Normal, Red };

// What the check shows: the colour of every label and field, the warning (Label13), the
// AutoCorrect button (Button6) and whether "Program Next Baton" (Button5) takes clicks.
struct ScheduleCheckState {
    FieldColour roundLabel = FieldColour::Normal, roundField = FieldColour::Normal;
    FieldColour restLabel = FieldColour::Normal, restField = FieldColour::Normal;
    FieldColour batonsLabel = FieldColour::Normal, batonsField = FieldColour::Normal;
    FieldColour startLabel = FieldColour::Normal, finishLabel = FieldColour::Normal;
    std::array<FieldColour, kDaysInWeek> startFields{};
    std::array<FieldColour, kDaysInWeek> finishFields{};
    bool warningShown = false;
    bool autoCorrectShown = false;
    bool programEnabled = false;

    friend bool operator==(const ScheduleCheckState&, const ScheduleCheckState&) = default;
};

ScheduleCheckState CheckSchedule(const ScheduleFields& fields);

// The corrections for the two unit types, followed by "All Days the Same"; "none" is returned
// as it is.
ScheduleFields AutoCorrect(const ScheduleFields& fields);
// Monday's start and finish copied to the six other days.
ScheduleFields AllDaysTheSame(const ScheduleFields& fields);
// Every start and finish "01h00".
ScheduleFields TwentyFourHourPatrols(const ScheduleFields& fields);

} // namespace kestrova
