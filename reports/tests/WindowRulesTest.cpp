// The Reports window's rules without a window: the whole kind-rule table, the date/time rule,
// the sliders and time fields.
#include "ReportsFixture.h"
#include "reports/ReportWindowRules.h"

#include <optional>

namespace kestrova::testing {
namespace {

constexpr ControlState on{true, true};
constexpr ControlState off{false, true};
constexpr ControlState gone{false, false};

struct KindCase {
    const char* name;
    ReportKind kind;
    bool advanced;
    bool pointFilter;
    ReportControls expected;
    bool advancedAfter;
    std::optional<ReportKind> kindAfter = std::nullopt; // none: the kind stays
};

ReportControls controls(std::string b2, std::string b1, ControlState advancedButton, bool group,
                        ControlState sep, ControlState filter, ControlState selector,
                        ControlState sort, ControlState pdf, ControlState shifts, ControlState list,
                        ControlState from, ControlState to, ControlState times,
                        ControlState sliders, std::string label2, ControlState exceptionKind,
                        ControlState saveCsv) {
    return {b2,      b1,     advancedButton, group,         sep,    filter, selector,
            sort,    pdf,    shifts,         list,          from,   to,     times,
            sliders, label2, false,          exceptionKind, saveCsv};
}

// Report by download shows the PDF option beside its list.
ReportControls withList(ReportControls c) {
    c.pdfOptionWithList = true;
    return c;
}

class KindRuleTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(KindRuleTest, EveryControlOfTheTable) {
    MessageTable m;
    for (const int n : {48, 159, 163, 164, 172, 173})
        m.setText(n, "M" + std::to_string(n));
    ReportSelection s = initialSelection(calendarDay(2024, 3, 10));
    s.kind = GetParam().kind;
    s.advanced = GetParam().advanced;
    s.pointFilter = GetParam().pointFilter;
    s.pdfOption = false;
    ReportControls previous;
    previous.label2Text = "before";
    EXPECT_EQ(kindRule(s, m, false, previous), GetParam().expected);
    EXPECT_EQ(s.advanced, GetParam().advancedAfter);
    EXPECT_EQ(s.kind, GetParam().kindAfter.value_or(GetParam().kind));
    // The overview checks the PDF option whatever SecureReports says; the exception report
    // leaves it alone; the others follow SecureReports.
    EXPECT_EQ(s.pdfOption, GetParam().kind == ReportKind::Overview);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KindRuleTest,
    ::testing::Values(
        KindCase{"DownloadSimple", ReportKind::ByDownload, false, true,
                 withList(controls("M173", "M163", off, false, off, off, off, gone, on, off, on,
                                   gone, gone, gone, gone, "before", gone, gone)),
                 false},
        KindCase{"DownloadLeavesAdvanced", ReportKind::ByDownload, true, false,
                 withList(controls("M173", "M163", off, false, off, off, off, gone, on, off, on,
                                   gone, gone, gone, gone, "before", gone, gone)),
                 false},
        KindCase{"ListSimple", ReportKind::ClockingList, false, false,
                 controls("M172", "M163", on, false, on, on, off, on, on, gone, gone, gone, on,
                          gone, gone, "M159", gone, gone),
                 false},
        KindCase{"ListAdvancedFiltered", ReportKind::ClockingList, true, true,
                 controls("M172", "M164", on, true, on, on, on, on, on, gone, gone, on, on, on, on,
                          "M48", on, on),
                 true},
        KindCase{"OverviewSimple", ReportKind::Overview, false, true,
                 controls("M172", "M163", on, false, off, on, off, gone, off, on, gone, gone, on,
                          gone, gone, "M159", gone, gone),
                 false},
        KindCase{"OverviewAdvanced", ReportKind::Overview, true, true,
                 controls("M172", "M164", on, true, off, on, off, gone, off, on, gone, on, on, off,
                          gone, "M48", on, gone),
                 true},
        KindCase{"ExceptionAdvanced", ReportKind::Exception, true, true,
                 controls("M172", "M164", on, true, off, off, off, gone, gone, gone, gone, on, on,
                          gone, gone, "M48", on, on),
                 true},
        KindCase{"ExceptionSimpleFallsBackToList", ReportKind::Exception, false, false,
                 controls("M172", "M163", on, false, on, on, off, on, on, gone, gone, gone, on,
                          gone, gone, "M159", gone, gone),
                 false, ReportKind::ClockingList}),
    [](const auto& row) { return std::string(row.param.name); });

struct DateCase {
    const char* name;
    ReportKind kind;
    Shift shift;
    bool advanced;
    int fromDay, toDay;
    int expectedFrom;
    const char* fromTime;
    const char* toTime;
};

class DateTimeRuleTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateTimeRuleTest, DatesAndTimes) {
    const DateCase& c = GetParam();
    ReportSelection s = initialSelection(calendarDay(2024, 3, 10));
    s.kind = c.kind;
    s.shift = c.shift;
    s.advanced = c.advanced;
    s.fromDate = calendarDay(2024, 3, c.fromDay);
    s.toDate = calendarDay(2024, 3, c.toDay);
    s.fromTime = s.toTime = "07h30";
    s.fromHour = s.toHour = 7;
    dateTimeRule(s);
    EXPECT_EQ(s.fromDate, calendarDay(2024, 3, c.expectedFrom));
    EXPECT_EQ(s.toDate, calendarDay(2024, 3, c.toDay));
    EXPECT_EQ(s.fromTime, c.fromTime);
    EXPECT_EQ(s.toTime, c.toTime);
    EXPECT_EQ(s.fromHour, std::stoi(std::string(c.fromTime).substr(0, 2)));
}

INSTANTIATE_TEST_SUITE_P(
    Rule, DateTimeRuleTest,
    ::testing::Values(DateCase{"ListSimpleNoonBeforeToNoon", ReportKind::ClockingList, Shift::Night,
                               false, 2, 10, 9, "12h00", "12h00"},
                      DateCase{"ListAdvancedKeepsTimes", ReportKind::ClockingList, Shift::Night,
                               true, 2, 10, 2, "07h30", "07h30"},
                      DateCase{"ListAdvancedFromAfterTo", ReportKind::ClockingList, Shift::Night,
                               true, 12, 10, 10, "07h30", "07h30"},
                      DateCase{"NightAdvancedKeepsAnEarlierFrom", ReportKind::Overview,
                               Shift::Night, true, 5, 8, 5, "12h00", "12h00"},
                      DateCase{"NightAdvancedFromOnTheToDate", ReportKind::Overview, Shift::Night,
                               true, 8, 8, 7, "12h00", "12h00"},
                      DateCase{"NightSimpleOneNight", ReportKind::Overview, Shift::Night, false, 2,
                               10, 9, "12h00", "12h00"},
                      DateCase{"DayAdvancedFromAfterTo", ReportKind::Overview, Shift::Day, true, 12,
                               10, 10, "00h00", "23h59"},
                      DateCase{"DaySimpleTheChosenDay", ReportKind::Overview, Shift::Day, false, 2,
                               10, 10, "00h00", "23h59"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SliderTest, SliderAndTimeTextFollowEachOther) {
    EXPECT_EQ(timeForSlider(7, "12h30"), "07h30");
    EXPECT_EQ(timeForSlider(23, "00h05"), "23h05");
    EXPECT_EQ(sliderForTime("09h15"), 9);
    EXPECT_EQ(sliderForTime(" 9h15"), 9);
    EXPECT_EQ(sliderForTime("ab"), std::nullopt);
    EXPECT_EQ(sliderForTime("99h00"), 23);
}

} // namespace
} // namespace kestrova::testing
