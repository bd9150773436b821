// The Reports window's control rules. Standard library and core only.
#include "reports/ReportWindowRules.h"

#include "reports/DayFileReading.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace kestrova {

namespace {

constexpr ControlState kShown{true, true};
constexpr ControlState kDisabled{false, true};
constexpr ControlState kHidden{false, false};

void setTimes(ReportSelection& s, const std::string& from, const std::string& to) {
    s.fromTime = from;
    s.toTime = to;
    // The fields' change events move the sliders along.
    s.fromHour = sliderForTime(from).value_or(s.fromHour);
    s.toHour = sliderForTime(to).value_or(s.toHour);
}

} // namespace

ReportSelection initialSelection(const LocalDateTime& today) {
    ReportSelection s;
    s.toDate = calendarDay(today.year, today.month, today.day);
    s.fromDate = addDays(s.toDate, -1);
    return s;
}

void dateTimeRule(ReportSelection& s) {
    const bool fromHidden = !s.advanced;
    if (s.kind == ReportKind::Overview && s.shift == Shift::Night) {
        setTimes(s, "12h00", "12h00");
        const LocalDateTime dayBefore = addDays(s.toDate, -1);
        if (s.fromDate > dayBefore || fromHidden)
            s.fromDate = dayBefore;
        return;
    }
    if (s.kind == ReportKind::Overview)
        setTimes(s, "00h00", "23h59");
    if (s.kind == ReportKind::ClockingList && fromHidden) {
        setTimes(s, "12h00", "12h00");
        s.fromDate = addDays(s.toDate, -1);
        return;
    }
    if (s.toDate < s.fromDate || fromHidden)
        s.fromDate = s.toDate;
}

namespace {

// The kind table, one row per control, one column per kind (indexed by kindColumn). The simple
// layout hides the from-date, the times and the sliders of every kind; the rows "Advanced"
// give them in the advanced layout. The exception report
// reads whole days from the site's schedule, and always writes its text and its PDF.
std::size_t kindColumn(ReportKind kind) {
    return static_cast<std::size_t>(kind) - 1;
}

using KindRow = std::array<ControlState, 4>;
// clang-format off
//                                        by download  clocking list  overview    exception
constexpr std::array<int, 4> kButton2Message{173,      172,           172,        172};
constexpr KindRow kAdvancedButton{           kDisabled, kShown,        kShown,     kShown};
constexpr KindRow kSeparator{                kDisabled, kShown,        kDisabled,  kDisabled};
constexpr KindRow kPointFilter{              kDisabled, kShown,        kShown,     kDisabled};
constexpr KindRow kFilteredPointSelector{    kDisabled, kShown,        kDisabled,  kDisabled};
constexpr KindRow kSortOptions{              kHidden,   kShown,        kHidden,    kHidden};
constexpr KindRow kPdfOption{                kShown,    kShown,        kDisabled,  kHidden};
constexpr KindRow kShiftButtons{             kDisabled, kHidden,       kShown,     kHidden};
constexpr KindRow kDownloadList{             kShown,    kHidden,       kHidden,    kHidden};
constexpr KindRow kFromDateAdvanced{         kHidden,   kShown,        kShown,     kShown};
constexpr KindRow kToDate{                   kHidden,   kShown,        kShown,     kShown};
constexpr KindRow kTimesAdvanced{            kHidden,   kShown,        kDisabled,  kHidden};
constexpr KindRow kSlidersAdvanced{          kHidden,   kShown,        kHidden,    kHidden};
// clang-format on

// What the kind rule changes in the selection before the controls are set.
void kindSelection(ReportSelection& s, bool secureReports) {
    if (s.kind == ReportKind::Exception && !s.advanced)
        s.kind = ReportKind::ClockingList;
    switch (s.kind) {
    case ReportKind::ByDownload:
        s.advanced = false;
        s.pdfOption = secureReports;
        break;
    case ReportKind::ClockingList:
        s.pdfOption = secureReports;
        break;
    case ReportKind::Overview:
        dateTimeRule(s);
        s.pdfOption = true;
        break;
    case ReportKind::Exception:
        dateTimeRule(s);
        break;
    }
}

} // namespace

ReportControls kindRule(ReportSelection& s, const MessageTable& m, bool secureReports,
                        const ReportControls& previous) {
    kindSelection(s, secureReports);
    const std::size_t k = kindColumn(s.kind);
    const bool advanced = s.advanced;
    ReportControls c;
    c.button2Caption = m.MessageText(kButton2Message[k]);
    c.button1Caption = m.MessageText(advanced ? 164 : 163);
    c.advancedButton = kAdvancedButton[k];
    c.advancedGroup = advanced;
    c.separator = kSeparator[k];
    c.pointFilter = kPointFilter[k];
    c.pointSelector = s.pointFilter ? kFilteredPointSelector[k] : kDisabled;
    c.sortOptions = kSortOptions[k];
    c.pdfOption = kPdfOption[k];
    c.pdfOptionWithList = s.kind == ReportKind::ByDownload;
    c.shiftButtons = kShiftButtons[k];
    c.downloadList = kDownloadList[k];
    c.fromDate = advanced ? kFromDateAdvanced[k] : kHidden;
    c.toDate = kToDate[k];
    c.times = advanced ? kTimesAdvanced[k] : kHidden;
    c.sliders = advanced ? kSlidersAdvanced[k] : kHidden;
    c.label2Text =
        s.kind == ReportKind::ByDownload ? previous.label2Text : m.MessageText(advanced ? 48 : 159);
    c.exceptionKind = advanced ? kShown : kHidden;
    const bool rows = s.kind == ReportKind::ClockingList || s.kind == ReportKind::Exception;
    c.saveCsv = advanced && rows ? kShown : kHidden;
    return c;
}

ReportControls layoutToggle(ReportSelection& s, const MessageTable& m, bool secureReports,
                            const ReportControls& previous) {
    s.advanced = !s.advanced;
    return kindRule(s, m, secureReports, previous);
}

std::string timeForSlider(int position, const std::string& currentTime) {
    char hour[16];
    std::snprintf(hour, sizeof hour, "%.2dh", position);
    return hour + (currentTime.size() > 3 ? currentTime.substr(3, 2) : std::string());
}

std::optional<int> sliderForTime(const std::string& timeText) {
    const auto time = parseTimeText(timeText.substr(0, 2) + "h00");
    if (!time)
        return std::nullopt;
    return std::clamp(time->hour, 0, 23);
}

ReportRange selectionRange(const ReportSelection& s) {
    return {s.fromDate, s.toDate, s.fromTime, s.toTime};
}

} // namespace kestrova
