#include "sites/Schedule.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

constexpr auto N = FieldColour::Normal;
constexpr auto R = FieldColour::Red;
using Type = FailedPatrolType;

// A schedule every unit type accepts as it stands.
ScheduleFields passing(Type type) {
    ScheduleFields f;
    f.type = type;
    f.roundTime = "030";
    f.restTime = type == Type::Single ? "000" : "010";
    f.numBatons = "1";
    f.start.fill("01h00");
    f.finish.fill("01h00");
    return f;
}

struct CheckCase {
    const char* name;
    Type type;
    std::function<void(ScheduleFields&)> change;
    std::function<void(ScheduleCheckState&)> expectedChange; // from the passing state
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

ScheduleCheckState passingState(Type type) {
    ScheduleCheckState s;
    s.programEnabled = type != Type::None;
    return s;
}

void failing(ScheduleCheckState& s, FieldColour ScheduleCheckState::*label,
             FieldColour ScheduleCheckState::*field, bool blocks = true) {
    s.*label = s.*field = R;
    s.warningShown = s.autoCorrectShown = true;
    if (blocks)
        s.programEnabled = false;
}

class CheckScheduleTable : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckScheduleTable, ColoursAndButtons) {
    const CheckCase& c = GetParam();
    ScheduleFields fields = passing(c.type);
    c.change(fields);
    ScheduleCheckState expected = passingState(c.type);
    c.expectedChange(expected);
    EXPECT_EQ(CheckSchedule(fields), expected);
}

using S = ScheduleCheckState;
const auto kNothing = [](auto&) {};

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckScheduleTable,
    ::testing::Values(
        CheckCase{"SinglePasses", Type::Single, kNothing, kNothing},
        CheckCase{"MultiplePasses", Type::Multiple, kNothing, kNothing},
        CheckCase{"NoneIgnoresEveryLimit", Type::None,
                  [](auto& f) {
                      f.roundTime = "007";
                      f.restTime = "abc";
                      f.start[3] = "05h00";
                  },
                  kNothing},
        CheckCase{"RoundNotMultipleOf15", Type::Single, [](auto& f) { f.roundTime = "020"; },
                  [](S& s) { failing(s, &S::roundLabel, &S::roundField); }},
        CheckCase{"RoundZero", Type::Multiple, [](auto& f) { f.roundTime = "000"; },
                  [](S& s) { failing(s, &S::roundLabel, &S::roundField); }},
        CheckCase{"RoundUnreadable", Type::Single, [](auto& f) { f.roundTime = "0 5x"; },
                  [](S& s) { failing(s, &S::roundLabel, &S::roundField); }},
        CheckCase{"SingleRestMustBeZero", Type::Single, [](auto& f) { f.restTime = "010"; },
                  [](S& s) { failing(s, &S::restLabel, &S::restField); }},
        CheckCase{"MultipleRestFiveIsRed", Type::Multiple, [](auto& f) { f.restTime = "005"; },
                  [](S& s) { failing(s, &S::restLabel, &S::restField); }},
        CheckCase{"MultipleRestNotMultipleOf5", Type::Multiple, [](auto& f) { f.restTime = "012"; },
                  [](S& s) { failing(s, &S::restLabel, &S::restField); }},
        CheckCase{"MultipleRestZeroPasses", Type::Multiple, [](auto& f) { f.restTime = "000"; },
                  kNothing},
        CheckCase{"SingleStartWithMinutes", Type::Single, [](auto& f) { f.start.fill("06h30"); },
                  [](S& s) { failing(s, &S::startLabel, &S::startLabel); }},
        CheckCase{"SingleStartHourZero", Type::Single, [](auto& f) { f.start.fill("00h00"); },
                  [](S& s) { failing(s, &S::startLabel, &S::startLabel); }},
        CheckCase{"SingleFinishHour25", Type::Single, [](auto& f) { f.finish.fill("25h00"); },
                  [](S& s) { failing(s, &S::finishLabel, &S::finishLabel); }},
        CheckCase{"SingleHour24Passes", Type::Single, [](auto& f) { f.finish.fill("24h00"); },
                  kNothing},
        CheckCase{"MultipleStartAndFinishDiffer", Type::Multiple,
                  [](auto& f) { f.finish.fill("06h00"); },
                  [](S& s) {
                      failing(s, &S::startLabel, &S::startLabel);
                      failing(s, &S::finishLabel, &S::finishLabel);
                  }},
        CheckCase{"SingleBatonsNotOneKeepsProgramming", Type::Single,
                  [](auto& f) { f.numBatons = "2"; },
                  [](S& s) { failing(s, &S::batonsLabel, &S::batonsField, false); }},
        CheckCase{"MultipleBatonsZeroKeepsProgramming", Type::Multiple,
                  [](auto& f) { f.numBatons = "0"; },
                  [](S& s) { failing(s, &S::batonsLabel, &S::batonsField, false); }},
        CheckCase{"UnreadableBatonsStopsProgramming", Type::Multiple,
                  [](auto& f) { f.numBatons = " "; },
                  [](S& s) { failing(s, &S::batonsLabel, &S::batonsField, true); }},
        CheckCase{"TuesdayStartDiffersEnablesProgramming", Type::Single,
                  [](auto& f) { f.start[1] = "02h00"; },
                  [](S& s) {
                      for (int d = 1; d < 7; ++d)
                          s.startFields[static_cast<std::size_t>(d)] = R;
                      s.warningShown = s.autoCorrectShown = true;
                  }},
        CheckCase{"DifferingDayReenablesAfterAFailedCheck", Type::Single,
                  [](auto& f) {
                      f.restTime = "010";
                      f.finish[6] = "02h00";
                  },
                  [](S& s) {
                      failing(s, &S::restLabel, &S::restField);
                      for (int d = 1; d < 7; ++d)
                          s.finishFields[static_cast<std::size_t>(d)] = R;
                      s.programEnabled = true;
                  }},
        CheckCase{"NoneIgnoresDifferingDays", Type::None, [](auto& f) { f.start[2] = "09h00"; },
                  kNothing}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CheckScheduleTest, MondayStartFieldIsNormalWhileItsLabelIsRed) {
    ScheduleFields f = passing(Type::Single);
    f.start[0] = "07h15";
    const auto state = CheckSchedule(f);
    EXPECT_EQ(state.startLabel, R);
    EXPECT_EQ(state.startFields[0], N);
    // Monday's own text differing from the other days reddens those days as well.
    EXPECT_EQ(state.startFields[1], R);
}

struct CorrectCase {
    const char* name;
    Type type;
    std::function<void(ScheduleFields&)> input;
    std::function<void(ScheduleFields&)> expected; // applied to the input
};

void PrintTo(const CorrectCase& c, std::ostream* os) {
    *os << c.name;
}

class AutoCorrectTable : public ::testing::TestWithParam<CorrectCase> {};

TEST_P(AutoCorrectTable, CorrectsThenCopiesMonday) {
    const CorrectCase& c = GetParam();
    ScheduleFields in = passing(c.type);
    c.input(in);
    ScheduleFields expected = in;
    c.expected(expected);
    expected = AllDaysTheSame(expected);
    const ScheduleFields out = AutoCorrect(in);
    EXPECT_EQ(out, expected);
    if (c.type != Type::None) { // what AutoCorrect leaves, the check accepts
        EXPECT_FALSE(CheckSchedule(out).warningShown);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AutoCorrectTable,
    ::
        testing::
            Values(CorrectCase{"Round20RaisedTo030", Type::Single,
                               [](auto& f) { f.roundTime = "20"; },
                               [](auto& f) { f.roundTime = "030"; }},
                   CorrectCase{"Round000Becomes015", Type::Multiple,
                               [](auto& f) { f.roundTime = "000"; },
                               [](auto& f) { f.roundTime = "015"; }},
                   CorrectCase{"RoundUnreadableBecomes015", Type::Single,
                               [](auto& f) { f.roundTime = "x"; },
                               [](auto& f) { f.roundTime = "015"; }},
                   CorrectCase{"Round400RaisedTo405", Type::Single,
                               [](auto& f) { f.roundTime = "400"; },
                               [](auto& f) { f.roundTime = "405"; }},
                   CorrectCase{"SingleRestBecomes000", Type::Single,
                               [](auto& f) { f.restTime = "010"; },
                               [](auto& f) { f.restTime = "000"; }},
                   CorrectCase{"SingleUnreadableRestBecomes000", Type::Single,
                               [](auto& f) { f.restTime = "a"; },
                               [](auto& f) { f.restTime = "000"; }},
                   CorrectCase{"MultipleRest005Becomes000", Type::Multiple,
                               [](auto& f) { f.restTime = "005"; },
                               [](auto& f) { f.restTime = "000"; }},
                   CorrectCase{"MultipleRest12Becomes015", Type::Multiple,
                               [](auto& f) { f.restTime = "12"; },
                               [](auto& f) { f.restTime = "015"; }},
                   CorrectCase{"MultipleRest3Becomes005Then000", Type::Multiple,
                               [](auto& f) { f.restTime = "3"; },
                               [](auto& f) { f.restTime = "000"; }},
                   CorrectCase{"MultipleUnreadableRestBecomes010", Type::Multiple,
                               [](auto& f) { f.restTime = "?"; },
                               [](auto& f) { f.restTime = "010"; }},
                   CorrectCase{"SingleMinutesDropped", Type::Single,
                               [](auto& f) { f.start[0] = "06h30"; },
                               [](auto& f) { f.start[0] = "06h00"; }},
                   CorrectCase{"SingleHourAbove24Becomes24", Type::Single,
                               [](auto& f) { f.finish[0] = "30h00"; },
                               [](auto& f) { f.finish[0] = "24h00"; }},
                   CorrectCase{"SingleHourZeroBecomes01", Type::Single,
                               [](auto& f) { f.start[0] = "00h45"; },
                               [](auto& f) { f.start[0] = "01h00"; }},
                   CorrectCase{"SingleBlankTimeBecomes01h00", Type::Single,
                               [](auto& f) { f.start[0] = "  h  "; },
                               [](auto& f) { f.start[0] = "01h00"; }},
                   CorrectCase{"MultipleDifferingWindowBothBecome01h00", Type::Multiple,
                               [](auto& f) {
                                   f.start[0] = "01h00";
                                   f.finish[0] = "07h00";
                               },
                               [](auto& f) { f.start[0] = f.finish[0] = "01h00"; }},
                   CorrectCase{"MultipleEqualWindowKept", Type::Multiple,
                               [](auto& f) { f.start[0] = f.finish[0] = "05h00"; }, kNothing},
                   CorrectCase{"SingleBatonsBecome1", Type::Single,
                               [](auto& f) { f.numBatons = "4"; },
                               [](auto& f) { f.numBatons = "1"; }},
                   CorrectCase{"MultipleBatonsAbove9Become9", Type::Multiple,
                               [](auto& f) { f.numBatons = "12"; },
                               [](auto& f) { f.numBatons = "9"; }},
                   CorrectCase{"MultipleBatonsZeroBecome1", Type::Multiple,
                               [](auto& f) { f.numBatons = "0"; },
                               [](auto& f) { f.numBatons = "1"; }},
                   CorrectCase{"MultipleUnreadableBatonsBecome1", Type::Multiple,
                               [](auto& f) { f.numBatons = " "; },
                               [](auto& f) { f.numBatons = "1"; }},
                   CorrectCase{
                       "OtherDaysTakeMondays",
                       Type::Single,
                       [](auto& f) {
                           f.start[4] = "09h00";
                           f.finish[5] = "  h  ";
                       },
                       kNothing}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(AutoCorrectTest, LeavesTypeNoneAlone) {
    ScheduleFields f = passing(Type::None);
    f.roundTime = "007";
    f.start[3] = "09h00";
    EXPECT_EQ(AutoCorrect(f), f);
}

TEST(ScheduleButtonsTest, TwentyFourHourPatrolsSetsEveryTime) {
    ScheduleFields f = passing(Type::Single);
    f.start[2] = "  h  ";
    f.finish[6] = "22h00";
    const auto out = TwentyFourHourPatrols(f);
    for (std::size_t d = 0; d < 7; ++d) {
        EXPECT_EQ(out.start[d], "01h00");
        EXPECT_EQ(out.finish[d], "01h00");
    }
    EXPECT_EQ(out.roundTime, f.roundTime);
}

TEST(ScheduleValuesTest, NormalisesOnLoadAndStoresFieldTextsVerbatim) {
    ScheduleValues raw;
    raw.fill("0");
    raw[kRoundTime] = "15";
    raw[kNumBatons] = "37";
    raw[kFailedPatrolType] = "2";
    raw[kFirstDayTime] = "1h30"; // short texts are padded before "h" is placed
    const ScheduleFields fields = scheduleFromValues(raw);
    EXPECT_EQ(fields.roundTime, "015");
    EXPECT_EQ(fields.restTime, "000");
    EXPECT_EQ(fields.numBatons, "3");
    EXPECT_EQ(fields.type, Type::Multiple);
    EXPECT_EQ(fields.start[0], "01h30");
    EXPECT_EQ(fields.finish[6], "00h00");
    ScheduleFields edited = fields;
    edited.finish[6] = "  h  ";
    const ScheduleValues stored = scheduleToValues(edited);
    EXPECT_EQ(stored[kFailedPatrolType], "2");
    EXPECT_EQ(stored[kFirstDayTime + 13], "  h  ");
    EXPECT_EQ(stored[kRoundTime], "015");
}

} // namespace
} // namespace kestrova
