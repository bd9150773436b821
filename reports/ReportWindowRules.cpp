// The Reports window's control rules. Standard library and core only.
#include "reports/ReportWindowRules.h"

#include "reports/DayFileReading.h"

#include <algorithm>
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

ReportControls kindRule(ReportSelection& s, const MessageTable& m, bool secureReports,
                        const ReportControls& previous) {
    ReportControls c;
    c.label2Text = previous.label2Text;
    if (s.kind == ReportKind::Exception && !s.advanced)
        s.kind = ReportKind::ClockingList;
    switch (s.kind) {
    case ReportKind::ByDownload:
        s.advanced = false;
        s.pdfOption = secureReports;
        c.button2Caption = m.MessageText(173);
        c.separator = kDisabled;
        c.pointFilter = kDisabled;
        c.pointSelector = kDisabled;
        c.sortOptions = kHidden;
        c.pdfOption = kShown;
        c.pdfOptionWithList = true;
        c.shiftButtons = kDisabled;
        c.downloadList = kShown;
        c.fromDate = c.toDate = c.times = c.sliders = kHidden;
        c.advancedButton = kDisabled;
        break;
    case ReportKind::ClockingList:
        s.pdfOption = secureReports;
        c.button2Caption = m.MessageText(172);
        c.separator = kShown;
        c.pointFilter = kShown;
        c.pointSelector = s.pointFilter ? kShown : kDisabled;
        c.sortOptions = kShown;
        c.pdfOption = kShown;
        c.shiftButtons = kHidden;
        c.downloadList = kHidden;
        c.toDate = kShown;
        c.fromDate = c.times = c.sliders = s.advanced ? kShown : kHidden;
        c.advancedButton = kShown;
        break;
    case ReportKind::Overview:
        dateTimeRule(s);
        s.pdfOption = true;
        c.button2Caption = m.MessageText(172);
        c.separator = kDisabled;
        c.pointFilter = kShown;
        c.pointSelector = kDisabled;
        c.sortOptions = kHidden;
        c.pdfOption = kDisabled;
        c.shiftButtons = kShown;
        c.downloadList = kHidden;
        c.toDate = kShown;
        c.fromDate = s.advanced ? kShown : kHidden;
        c.times = s.advanced ? kDisabled : kHidden;
        c.sliders = kHidden;
        c.advancedButton = kShown;
        break;
    case ReportKind::Exception:
        // Whole days from the site's schedule; the text and the PDF are always written.
        dateTimeRule(s);
        c.button2Caption = m.MessageText(172);
        c.separator = kDisabled;
        c.pointFilter = kDisabled;
        c.pointSelector = kDisabled;
        c.sortOptions = kHidden;
        c.pdfOption = kHidden;
        c.shiftButtons = kHidden;
        c.downloadList = kHidden;
        c.fromDate = c.toDate = kShown;
        c.times = c.sliders = kHidden;
        c.advancedButton = kShown;
        break;
    }
    c.exceptionKind = s.advanced ? kShown : kHidden;
    const bool rows = s.kind == ReportKind::ClockingList || s.kind == ReportKind::Exception;
    c.saveCsv = s.advanced && rows ? kShown : kHidden;
    if (s.kind != ReportKind::ByDownload)
        c.label2Text = m.MessageText(s.advanced ? 48 : 159);
    c.advancedGroup = s.advanced;
    c.button1Caption = m.MessageText(s.advanced ? 164 : 163);
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
