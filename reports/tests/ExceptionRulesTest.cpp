// The three rules of the exception report and the share of each shift, over small hand-made
// day files of a site whose patrol period (round + rest time) is 30 minutes.
#include "reports/ExceptionLayout.h"
#include "reports/tests/ExceptionFixture.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::ExceptionSiteDir;

// "2024/03/04 09:30 Missed Point 00h31 AAAAA1" for each exception.
std::vector<std::string> summary(const ExceptionReportData& data) {
    const MessageTable messages = testing::defaultMessages();
    std::vector<std::string> out;
    for (const auto& e : data.findings.exceptions) {
        std::string line = reportDate(dayOf(e.time)) + " " + reportTime(e.time) + " " +
                           exceptionKindName(e.kind, messages) + " " + reportInterval(e.interval);
        if (e.checkpoint >= 0)
            line += " " + data.checkpoints[static_cast<std::size_t>(e.checkpoint)].id;
        out.push_back(line);
    }
    return out;
}

struct RuleCase {
    std::string name;
    int checkpoints;
    std::string first, last;
    std::vector<std::string> clockings; // "yymmdd hhmm id"
    std::vector<std::string> expected;
    std::vector<std::string> shares; // "made/required" per shift
};

// Monday 4 March 2024, 09h00-12h00: six periods of 30 minutes.
const std::vector<std::string> kEveryPeriod = {"240304 0900 1", "240304 0930 1", "240304 1000 1",
                                               "240304 1030 1", "240304 1100 1", "240304 1130 1"};

class ExceptionRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ExceptionRules, FindsTheExceptionsOfTheDays) {
    const RuleCase& c = GetParam();
    ExceptionSiteDir dir;
    dir.addSite("North Gate", c.checkpoints);
    dir.addClockings("North Gate", c.clockings);
    dir.addEmptyDay("North Gate", c.first);
    const ExceptionReportData data = dir.load("North Gate", c.first, c.last);
    ASSERT_EQ(data.outcome, ExceptionOutcome::Checked);
    EXPECT_EQ(summary(data), c.expected);
    std::vector<std::string> shares;
    for (const auto& shift : data.findings.shifts)
        shares.push_back(std::to_string(shift.made) + "/" + std::to_string(shift.required));
    EXPECT_EQ(shares, c.shares);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ExceptionRules,
    ::testing::Values(
        RuleCase{"EveryPeriodClocked", 1, "240304", "240304", kEveryPeriod, {}, {"6/6"}},
        RuleCase{"NoClockingInTheShift",
                 1,
                 "240304",
                 "240304",
                 {"240304 0859 1", "240304 1200 1"}, // just before the start, at the finish
                 {"2024/03/04 09:00 Shift not done 03h00"},
                 {"0/6"}},
        RuleCase{
            "OnlyAnUnlistedIdStillWalksTheShift",
            1,
            "240304",
            "240304",
            {"240304 1000 BBBBBB"},
            {"2024/03/04 09:00 Failed Patrol 03h00", "2024/03/04 09:00 Missed Point 03h00 AAAAA1"},
            {"0/6"}},
        RuleCase{"AThirdOfTheRequiredClockings",
                 2,
                 "240304",
                 "240304",
                 {"240304 0900 1", "240304 0900 2", "240304 0930 1", "240304 1000 2"},
                 {"2024/03/04 09:00 Failed Patrol 03h00",
                  "2024/03/04 09:00 Missed Point 01h00 AAAAA2",
                  "2024/03/04 09:30 Missed Point 02h30 AAAAA1",
                  "2024/03/04 10:00 Missed Point 02h00 AAAAA2"},
                 {"4/12"}},
        RuleCase{"ExactlyHalfIsNoFailedPatrol",
                 2,
                 "240304",
                 "240304",
                 kEveryPeriod,
                 {"2024/03/04 09:00 Missed Point 03h00 AAAAA2"},
                 {"6/12"}},
        RuleCase{"ADuplicateInTheNextMinuteIsNotCounted",
                 1,
                 "240304",
                 "240304",
                 {"240304 0900 1", "240304 0901 1", "240304 0902 1", "240304 1000 1"},
                 {"2024/03/04 09:00 Failed Patrol 03h00",
                  "2024/03/04 09:02 Missed Point 00h58 AAAAA1",
                  "2024/03/04 10:00 Missed Point 02h00 AAAAA1"},
                 {"2/6"}},
        RuleCase{"GapOfRoundPlusRestPlusOneMinute",
                 1,
                 "240304",
                 "240304",
                 {"240304 0900 1", "240304 0930 1", "240304 1001 1", "240304 1030 1",
                  "240304 1100 1", "240304 1130 1"},
                 {"2024/03/04 09:30 Missed Point 00h31 AAAAA1"},
                 {"6/6"}},
        RuleCase{
            "GapsAtTheShiftsStartAndEnd",
            1,
            "240304",
            "240304",
            {"240304 0931 1", "240304 1000 1", "240304 1030 1", "240304 1100 1", "240304 1129 1"},
            {"2024/03/04 09:00 Missed Point 00h31 AAAAA1",
             "2024/03/04 11:29 Missed Point 00h31 AAAAA1"},
            {"5/6"}},
        RuleCase{"HourMarksDoNotChangeTheTime",
                 1,
                 "240304",
                 "240304",
                 {"240304 8900 1", "240304 4930 1", "240304 1000 1", "240304 D030 1",
                  "240304 1100 1", "240304 1130 1"},
                 {},
                 {"6/6"}},
        RuleCase{"NightShiftFollowedPastMidnight",
                 1,
                 "240306",
                 "240306",
                 {"240306 2000 1", "240306 2030 1", "240306 2100 1", "240306 2130 1",
                  "240306 2200 1", "240306 2230 1", "240306 2300 1", "240306 2330 1",
                  "240307 0000 1", "240307 0030 1", "240307 0100 1", "240307 0130 1"},
                 {},
                 {"12/12"}},
        RuleCase{"NightShiftLeftAtMidnight",
                 1,
                 "240306",
                 "240306",
                 {"240306 2000 1", "240306 2030 1", "240306 2100 1", "240306 2130 1",
                  "240306 2200 1", "240306 2230 1", "240306 2300 1", "240306 2330 1",
                  "240307 0200 1"}, // the finish minute is not in the shift
                 {"2024/03/06 23:30 Missed Point 02h30 AAAAA1"},
                 {"8/12"}},
        RuleCase{"SaturdayHasItsOwnWindow",
                 1,
                 "240309",
                 "240309",
                 {"240309 0900 1", "240309 1000 1"},
                 {"2024/03/09 10:00 Missed Point 01h00 AAAAA1"},
                 {"1/2"}},
        RuleCase{"SundayHasNoShift", 1, "240310", "240310", {"240310 1000 1"}, {}, {}},
        RuleCase{"SeveralDaysInTimeOrder",
                 1,
                 "240308",
                 "240310",
                 {"240309 1000 1", "240309 1030 1"},
                 {"2024/03/08 09:00 Shift not done 03h00"},
                 {"0/6", "2/2"}}),
    [](const auto& row) { return row.param.name; });

TEST(ExceptionRunningShift, AShiftNotEndedIsNotChecked) {
    ExceptionSiteDir dir;
    dir.addSite("North Gate", 1);
    dir.addEmptyDay("North Gate", "240304");
    const ExceptionReportData early = dir.load("North Gate", "240304", "240304", "240304 1159");
    ASSERT_EQ(early.findings.shifts.size(), 1u);
    EXPECT_TRUE(early.findings.shifts[0].running);
    EXPECT_TRUE(early.findings.exceptions.empty());
    const ExceptionReportData ended = dir.load("North Gate", "240304", "240304", "240304 1200");
    EXPECT_EQ(summary(ended), std::vector<std::string>{"2024/03/04 09:00 Shift not done 03h00"});
}

TEST(ExceptionCheckpoints, EachIdOnceAndNotTheBatonUploadEntry) {
    const std::vector<Checkpoint> list = {{"AAAAA1", '=', "Gate"},
                                          {"000000", '=', "------ Baton Uploaded ------"},
                                          {"AAAAA2", '#', "Yard"},
                                          {"AAAAA1", '=', "Gate again"}};
    const std::vector<Checkpoint> expected = {{"AAAAA1", '=', "Gate"}, {"AAAAA2", '#', "Yard"}};
    EXPECT_EQ(patrolCheckpoints(list), expected);
}

TEST(ExceptionShare, WholePercentCappedAtOneHundred) {
    const std::vector<std::tuple<int, int, std::optional<int>>> cases = {
        {4, 12, 33}, {12, 12, 100}, {30, 12, 100}, {0, 12, 0}, {3, 0, std::nullopt}};
    for (const auto& [made, required, share] : cases) {
        ShiftOutcome shift;
        shift.made = made;
        shift.required = required;
        EXPECT_EQ(shift.share(), share) << made << "/" << required;
    }
}

TEST(ExceptionMultipleBaton, RequiresTheClockingsOfEveryBaton) {
    ScheduleValues schedule = testing::sampleSchedule();
    schedule[kFailedPatrolType] = "2";
    schedule[kNumBatons] = "3";
    ExceptionSiteDir dir;
    dir.addSite("North Gate", 1, schedule);
    dir.addClockings("North Gate", kEveryPeriod);
    const ExceptionReportData data = dir.load("North Gate", "240304", "240304");
    ASSERT_EQ(data.findings.shifts.size(), 1u);
    EXPECT_EQ(data.findings.shifts[0].required, 18);
    EXPECT_EQ(summary(data), std::vector<std::string>{"2024/03/04 09:00 Failed Patrol 03h00"});
}

} // namespace
} // namespace kestrova
