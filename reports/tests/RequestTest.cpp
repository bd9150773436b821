// The report request in "Raw.txt": which day-file lines the range selection takes, the header,
// the checkpoint sort, the Done marker and the completion check.
#include "ReportsFixture.h"
#include "reports/ReportRequest.h"

namespace kestrova::testing {
namespace {

using ::testing::ElementsAre;

struct TimeCase {
    const char* name;
    const char* line;
    std::optional<HourMinute> time;
};

class RangeLineTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(RangeLineTimeTest, ReadsHourAndMinuteOfTheLine) {
    EXPECT_EQ(rangeLineTime(GetParam().line), GetParam().time);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RangeLineTimeTest,
    ::testing::Values(TimeCase{"Plain", "000000A1B2C32403091407", HourMinute{14, 7}},
                      TimeCase{"SpecialBitMinute95Is15", "000000A1B2C32403091495",
                               HourMinute{14, 15}},
                      TimeCase{"ZeroLineIsMidnight", "0000000000000000000000", HourMinute{0, 0}},
                      TimeCase{"MarkedHourCannotBeRead", "000000A1B2C32403095407", std::nullopt},
                      TimeCase{"HourAbove23", "000000A1B2C32403092407", std::nullopt},
                      TimeCase{"MinuteAbove59", "000000A1B2C32403091460", std::nullopt},
                      TimeCase{"LetterInMinute", "000000A1B2C3240309140X", std::nullopt},
                      TimeCase{"TooShort", "000000A1B2C324030914", std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DayFileNameTest, TwoDigitYearMonthDayWithTheWindowsExtension) {
    EXPECT_EQ(dayFileName(calendarDay(2000, 1, 1)), "000101.Txt");
    EXPECT_EQ(dayFileName(calendarDay(2024, 12, 31)), "241231.Txt");
}

class SelectRangeTest : public ReportsTest {
protected:
    SelectRangeTest() {
        site("Depot", {"00A1F3 = Gate", "00B2C4 = Yard"});
        loadSites();
    }
    ReportRequest request(LocalDateTime from, const char* fromTime, LocalDateTime to,
                          const char* toTime, ReportKind kind = ReportKind::ClockingList) {
        return ReportRequest(context, state, "Depot", {from, to, fromTime, toTime}, kind);
    }
    Lines selected(ReportRequest&& r) {
        r.SelectRange();
        count = r.recordCount();
        Lines lines = rawLines();
        header = lines.front();
        lines.erase(lines.begin());
        return lines;
    }
    std::int64_t count = -1;
    std::string header;
};

TEST_F(SelectRangeTest, NoonToNoonTakesTheBoundaryMinutesOnBothEnds) {
    dayFile("Depot", "240309", {dayLine("00A1F3", "2403091159"), dayLine("00A1F3", "2403091200")});
    dayFile("Depot", "240310", {dayLine("00A1F3", "2403101200"), dayLine("00A1F3", "2403101201")});
    const Lines lines = selected(request(march(9), "12h00", march(10), "12h00"));
    EXPECT_THAT(lines,
                ElementsAre(dayLine("00A1F3", "2403091200"), dayLine("00A1F3", "2403101200")));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(header, "Id : From 12:00:00 09/03/2024 to 12:00:00 10/03/2024");
}

TEST_F(SelectRangeTest, OneDayRangeAppliesBothEnds) {
    dayFile("Depot", "240308",
            {dayLine("00A1F3", "2403080759"), dayLine("00A1F3", "2403080800"),
             dayLine("00B2C4", "2403081700"), dayLine("00B2C4", "2403081701")});
    EXPECT_THAT(selected(request(march(8), "08h00", march(8), "17h00")),
                ElementsAre(dayLine("00A1F3", "2403080800"), dayLine("00B2C4", "2403081700")));
}

TEST_F(SelectRangeTest, MiddleDayIsTakenWholeEvenWhatCannotBeRead) {
    const Lines middle = {dayLine("00A1F3", "2403090001"), dayLine("00A1F3", "2403095407"),
                          dayLine("00B2C4", "2403092359")};
    dayFile("Depot", "240309", middle);
    EXPECT_EQ(selected(request(march(8), "12h00", march(10), "12h00")), middle);
    EXPECT_TRUE(fake.dialogs.information.empty());
}

TEST_F(SelectRangeTest, UnreadableLineOnTheStartDateIsLeftOutWithMessage160) {
    dayFile("Depot", "240309",
            {dayLine("00A1F3", "2403095407"), dayLine("00A1F3", "2403091495"), "short"});
    const Lines lines = selected(request(march(9), "12h00", march(10), "12h00"));
    // The minute 95 reads as 15 for the comparison and is copied unchanged; the short line is
    // the zero line, whose time 00:00 lies before noon.
    EXPECT_THAT(lines, ElementsAre(dayLine("00A1F3", "2403091495")));
    EXPECT_THAT(fake.dialogs.information, ElementsAre("M160"));
}

TEST_F(SelectRangeTest, ShortLineOfAMiddleDayBecomesTheZeroLine) {
    dayFile("Depot", "240309", {"0000001234"});
    EXPECT_THAT(selected(request(march(8), "12h00", march(10), "12h00")),
                ElementsAre(std::string(kZeroLine)));
}

TEST_F(SelectRangeTest, DayFilesAreFoundWhateverTheCaseOfTheirName) {
    writeFile(dir / "Depot" / "Raw" / "240309.TXT", joinLines({dayLine("00A1F3", "2403091300")}));
    EXPECT_EQ(selected(request(march(9), "12h00", march(10), "12h00")).size(), 1u);
}

TEST_F(SelectRangeTest, OverviewHeaderAndNoDayFilesAtAll) {
    EXPECT_TRUE(
        selected(request(march(1), "00h00", march(3), "23h59", ReportKind::Overview)).empty());
    EXPECT_EQ(count, 0);
    EXPECT_EQ(header, "Idx: From 00:00:00 01/03/2024 to 23:59:00 03/03/2024");
}

TEST_F(SelectRangeTest, SortGroupsByCheckpointInListOrderAndFiltersOnePoint) {
    dayFile("Depot", "240309",
            {dayLine("00B2C4", "2403091300"), dayLine("00A1F3", "2403091400"),
             dayLine("00B2C4", "2403091500"), dayLine("FFFFFF", "2403091600")});
    auto r = request(march(9), "12h00", march(10), "12h00");
    r.SelectRange();
    r.SortByCheckpoint(false, "");
    EXPECT_THAT(rawLines(),
                ElementsAre("Ids: From 12:00:00 09/03/2024 to 12:00:00 10/03/2024",
                            dayLine("00A1F3", "2403091400"), dayLine("00B2C4", "2403091300"),
                            dayLine("00B2C4", "2403091500")));
    r.SelectRange();
    r.SortByCheckpoint(true, "(00B2C4) Yard");
    EXPECT_THAT(rawLines(),
                ElementsAre(::testing::StartsWith("Ids: "), dayLine("00B2C4", "2403091300"),
                            dayLine("00B2C4", "2403091500")));
    EXPECT_EQ(r.recordCount(), 4);
}

TEST_F(SelectRangeTest, CompletionCheckTellsByTheLinesOfTheFile) {
    auto r = request(march(9), "12h00", march(10), "12h00");
    EXPECT_EQ(r.CheckCompletion(), Completion::NoFile);
    EXPECT_THAT(fake.dialogs.information, ElementsAre("M149"));

    r.SelectRange();
    r.FinishRequest();
    EXPECT_THAT(rawLines(), ElementsAre(::testing::StartsWith("Id : "), "Done"));
    EXPECT_EQ(r.CheckCompletion(), Completion::NothingInRange);
    EXPECT_EQ(fake.dialogs.information.back(),
              "M150\n\rFrom 12:00:00 09/03/2024 to 12:00:00 10/03/2024");
    EXPECT_FALSE(fake.busy.busy);

    dayFile("Depot", "240309", {dayLine("00A1F3", "2403091300")});
    r.SelectRange();
    r.FinishRequest();
    EXPECT_EQ(r.CheckCompletion(), Completion::Reported);
}

TEST(SelectedPointIdTest, CharactersTwoToSevenAfterPadding) {
    EXPECT_EQ(selectedPointId("(00A1F3) Gate"), "00A1F3");
    EXPECT_EQ(selectedPointId(""), "000000");
    EXPECT_EQ(selectedPointId("(A1)"), "00(A1)");
}

} // namespace
} // namespace kestrova::testing
