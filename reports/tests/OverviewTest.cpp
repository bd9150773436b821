// The overview: page days and shift windows, the shift selection's regrouping, and the chart's
// pages, rows, times and line counts.
#include "reports/Overview.h"

#include "ReportsFixture.h"

namespace kestrova::testing {
namespace {

using ::testing::ElementsAre;

struct WindowCase {
    const char* name;
    Shift shift;
    LocalDateTime time;
    bool inside;
};

LocalDateTime at(int day, int hour, int minute) {
    LocalDateTime t = calendarDay(2024, 3, day);
    t.hour = hour;
    t.minute = minute;
    return t;
}

class ShiftWindowTest : public ::testing::TestWithParam<WindowCase> {};

// The page of 10 March.
TEST_P(ShiftWindowTest, PageOfTenthMarch) {
    EXPECT_EQ(inShiftWindow(GetParam().time, calendarDay(2024, 3, 10), GetParam().shift),
              GetParam().inside);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ShiftWindowTest,
    ::testing::Values(WindowCase{"NightStartsAtNoonTheDayBefore", Shift::Night, at(9, 12, 0), true},
                      WindowCase{"NightBeforeNoonTheDayBefore", Shift::Night, at(9, 11, 59), false},
                      WindowCase{"NightLastMinute", Shift::Night, at(10, 11, 59), true},
                      WindowCase{"NightEndsAtNoon", Shift::Night, at(10, 12, 0), false},
                      WindowCase{"DayMidnight", Shift::Day, at(10, 0, 0), true},
                      WindowCase{"DayLastMinute", Shift::Day, at(10, 23, 59), true},
                      WindowCase{"DayBefore", Shift::Day, at(9, 23, 59), false},
                      WindowCase{"NextMidnight", Shift::Day, at(11, 0, 0), false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PageDaysTest, NightPagesStartTheDayAfterTheStart) {
    const ReportRange range{calendarDay(2024, 3, 9), calendarDay(2024, 3, 11), "", ""};
    EXPECT_EQ(pageDays(range, Shift::Night),
              (std::vector{calendarDay(2024, 3, 10), calendarDay(2024, 3, 11)}));
    EXPECT_EQ(pageDays(range, Shift::Day).size(), 3u);
}

class OverviewTest : public ReportsTest {
protected:
    OverviewTest() {
        site("Depot", {"00A1F3 = Gate", "00B2C4 = Yard"});
        loadSites();
        context.settings.update([&](Settings& s) { s.reportHeader = "Head"; });
        context.settings.update([&](Settings& s) { s.reportFooter = "Foot"; });
    }
    // The whole overview as the window runs it, without the sort.
    void run(Shift shift, int from, int to, bool filter = false, std::string id = "") {
        const bool night = shift == Shift::Night;
        ReportRequest request(
            context, state, "Depot",
            {march(from), march(to), night ? "12h00" : "00h00", night ? "12h00" : "23h59"},
            ReportKind::Overview);
        request.SelectRange();
        const OverviewOptions options{shift, filter, std::move(id)};
        SelectShifts(context, request, options);
        request.FinishRequest();
        selectedLines = rawLines();
        if (request.recordCount() > 0)
            DrawOverview(context, request, options, chart);
    }
    RecordingChart chart;
    Lines selectedLines;
};

TEST_F(OverviewTest, NightShiftNoonToNoonColumnsAndTheNextNight) {
    dayFile("Depot", "240309", {dayLine("00A1F3", "2403091200")});
    dayFile("Depot", "240310", {dayLine("00A1F3", "2403101159"), dayLine("00B2C4", "2403101200")});
    run(Shift::Night, 9, 10);
    EXPECT_THAT(selectedLines,
                ElementsAre("M161 From 09/03/2024 to 10/03/2024", dayLine("00A1F3", "2403091200"),
                            dayLine("00A1F3", "2403101159"), "Done"));
    EXPECT_THAT(chart.calls,
                ElementsAre("begin|Kestrova Uploader Ver 5.28l - M146 Head|Foot|Depot",
                            "page|M147 : 09/03/2024 12:00|   M148 : 10/03/2024 12:00|night",
                            "row|Gate|2|12:00 11:59 ", "row|Yard|2|", "save|Report.pdf"));
    EXPECT_THAT(fake.documents.opened, ElementsAre(dir / "Report.pdf"));
}

TEST_F(OverviewTest, DayShiftOnePagePerDayWithItsOwnTimes) {
    dayFile("Depot", "240309", {dayLine("00A1F3", "2403090910"), dayLine("00A1F3", "2403091740")});
    dayFile("Depot", "240310", {dayLine("00A1F3", "2403101720")});
    run(Shift::Day, 9, 10);
    EXPECT_THAT(chart.calls,
                ElementsAre(::testing::StartsWith("begin|"), "page|09/03/2024||day",
                            "row|Gate|2|09:10 17:40 ", "row|Yard|2|", "page|10/03/2024||day",
                            "row|Gate|2|17:20 ", "row|Yard|2|", "save|Report.pdf"));
}

TEST_F(OverviewTest, RepeatsDifferingOnlyInTheLeadFieldGiveOneEntry) {
    dayFile("Depot", "240309",
            {dayLine("00A1F3", "2403091400"),
             "123456"
             "00A1F3"
             "2403091400",
             dayLine("00A1F3", "2403091401")});
    run(Shift::Day, 9, 9);
    EXPECT_EQ(selectedLines.size(), 4u); // heading, two clockings, Done
    EXPECT_EQ(chart.calls[2], "row|Gate|2|14:00 14:01 ");
}

TEST_F(OverviewTest, LineCountIsTheFullestHourAtLeastTwo) {
    dayFile("Depot", "240309",
            {dayLine("00A1F3", "2403091405"), dayLine("00A1F3", "2403091430"),
             dayLine("00A1F3", "2403091459"), dayLine("00B2C4", "2403091000"),
             dayLine("00B2C4", "2403091100")});
    run(Shift::Day, 9, 9);
    EXPECT_EQ(chart.calls[2], "row|Gate|3|14:05 14:30 14:59 ");
    EXPECT_EQ(chart.calls[3], "row|Yard|2|10:00 11:00 ");
}

TEST_F(OverviewTest, PointFilterLeavesOneRowPerPage) {
    dayFile("Depot", "240309", {dayLine("00A1F3", "2403091000"), dayLine("00B2C4", "2403091100")});
    dayFile("Depot", "240310", {dayLine("00B2C4", "2403101100")});
    run(Shift::Day, 9, 10, true, "00B2C4");
    EXPECT_THAT(chart.calls, ElementsAre(::testing::StartsWith("begin|"), "page|09/03/2024||day",
                                         "row|Yard|2|11:00 ", "page|10/03/2024||day",
                                         "row|Yard|2|11:00 ", "save|Report.pdf"));
}

TEST_F(OverviewTest, EmptyPagesAreToldAndSkipped) {
    dayFile("Depot", "240310", {dayLine("00A1F3", "2403101000")});
    run(Shift::Night, 8, 11);
    EXPECT_THAT(fake.dialogs.information,
                ElementsAre("M150 M147 : 08/03/2024 12:00  M148 : 09/03/2024 12:00",
                            "M150 M147 : 10/03/2024 12:00  M148 : 11/03/2024 12:00"));
    EXPECT_EQ(std::count_if(chart.calls.begin(), chart.calls.end(),
                            [](const auto& c) { return c.starts_with("page|"); }),
              1);
}

TEST_F(OverviewTest, UnreadableClockingsArePassedOverWithMessages) {
    // 14:95 passes the range selection (minute 15 of a special record) but is no clock time.
    dayFile("Depot", "240309", {dayLine("00A1F3", "2403091495"), dayLine("00A1F3", "2403091500")});
    run(Shift::Day, 9, 9);
    EXPECT_THAT(fake.dialogs.information, ElementsAre("M160"));
    EXPECT_EQ(chart.calls[2], "row|Gate|2|15:00 ");
}

TEST_F(OverviewTest, ChartPassesOverALineItCannotRead) {
    writeFile(dir / "Raw.txt", joinLines({"M162 From", dayLine("00A1F3", "2403091499"),
                                          dayLine("00A1F3", "2403091500"), "Done"}));
    ReportRequest request(context, state, "Depot", {march(9), march(9), "00h00", "23h59"},
                          ReportKind::Overview);
    DrawOverview(context, request, {Shift::Day, false, ""}, chart);
    EXPECT_THAT(fake.dialogs.information,
                ElementsAre("Error O=" + dayLine("00A1F3", "2403091499")));
    EXPECT_EQ(chart.calls[2], "row|Gate|2|15:00 ");
}

TEST_F(OverviewTest, NoProgramForPdfShowsMessage137AndStillWrites) {
    fake.documents.pdfProgram.clear();
    dayFile("Depot", "240309", {dayLine("00A1F3", "2403091000")});
    run(Shift::Day, 9, 9);
    EXPECT_TRUE(std::filesystem::exists(dir / "Report.pdf"));
    EXPECT_THAT(fake.dialogs.information,
                ElementsAre("M137\rhttps://www.kestrova.example/help/pdf-viewer.html"));
    EXPECT_TRUE(fake.documents.opened.empty());
}

} // namespace
} // namespace kestrova::testing
