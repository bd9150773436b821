// Reading the failed-patrol schedule for the exception report: which schedules are there,
// missing or unreadable, and what the times mean.
#include "reports/PatrolSchedule.h"

#include "reports/tests/ExceptionFixture.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

struct ScheduleCase {
    std::string name;
    std::size_t field;
    std::string value;
    ScheduleStatus status;
};

class ScheduleStatusRow : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(ScheduleStatusRow, ReadsTheChangedSample) {
    ScheduleValues raw = testing::sampleSchedule();
    raw[GetParam().field] = GetParam().value;
    EXPECT_EQ(readPatrolSchedule(raw).status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Schedule, ScheduleStatusRow,
    ::testing::Values(
        ScheduleCase{"Sample", kRoundTime, "015", ScheduleStatus::Ready},
        ScheduleCase{"RoundTimeZero", kRoundTime, "000", ScheduleStatus::Missing},
        ScheduleCase{"RoundTimeLetters", kRoundTime, "1x5", ScheduleStatus::Unreadable},
        ScheduleCase{"RestTimeBlank", kRestTime, "0", ScheduleStatus::Ready},
        ScheduleCase{"BatonsLetter", kNumBatons, "x", ScheduleStatus::Unreadable},
        ScheduleCase{"TypeLetter", kFailedPatrolType, "S", ScheduleStatus::Unreadable},
        ScheduleCase{"HourAbove24", kFirstDayTime, "25h00", ScheduleStatus::Unreadable},
        ScheduleCase{"Hour24WithMinutes", kFirstDayTime, "24h30", ScheduleStatus::Unreadable},
        ScheduleCase{"MinuteAbove59", kFirstDayTime, "09h60", ScheduleStatus::Unreadable},
        ScheduleCase{"OnlyTheFinishBlank", kFirstDayTime + 1, "0", ScheduleStatus::Unreadable}),
    [](const auto& row) { return row.param.name; });

TEST(PatrolSchedule, EveryDayBlankIsNoSchedule) {
    ScheduleValues raw = testing::sampleSchedule();
    for (std::size_t k = kFirstDayTime; k < kScheduleValueCount; ++k)
        raw[k] = "0";
    EXPECT_EQ(readPatrolSchedule(raw).status, ScheduleStatus::Missing);
    ScheduleValues shortFile;
    shortFile.fill("0");
    EXPECT_EQ(readPatrolSchedule(shortFile).status, ScheduleStatus::Missing);
}

TEST(PatrolSchedule, WindowLengths) {
    // start, finish, minutes the window lasts
    const std::vector<std::tuple<std::string, std::string, int>> cases = {
        {"09h00", "12h00", 180}, {"20h00", "02h00", 360}, {"01h00", "01h00", 1440},
        {"24h00", "06h00", 360}, {"18h00", "24h00", 360}, {"00h00", "00h00", 1440}};
    for (const auto& [start, finish, minutes] : cases) {
        ScheduleValues raw = testing::sampleSchedule();
        raw[kFirstDayTime] = start;
        raw[kFirstDayTime + 1] = finish;
        const ScheduleReading reading = readPatrolSchedule(raw);
        ASSERT_EQ(reading.status, ScheduleStatus::Ready) << start << "-" << finish;
        EXPECT_EQ(reading.schedule.days[0].length(), minutes) << start << "-" << finish;
    }
}

} // namespace
} // namespace kestrova
