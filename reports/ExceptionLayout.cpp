// Laying out the exception report. Standard library and core only.
#include "reports/ExceptionLayout.h"

#include "processing/ClockingReport.h"

#include <array>
#include <cstdio>

namespace kestrova {

namespace {

// Texts of this report that the message table does not hold.
constexpr std::string_view kNoScheduleText =
    "No failed-patrol schedule is set for this site: no exceptions are listed.";
constexpr std::string_view kUnreadableScheduleText =
    "The failed-patrol schedule of this site cannot be read: no exceptions are listed.";
constexpr std::string_view kCommonSiteText =
    "The common site's clockings are reported with the sites they belong to: no exceptions "
    "are listed.";
constexpr std::string_view kShiftHeading = "Shift";
constexpr std::string_view kMadeHeading = "Made";
constexpr std::string_view kRequiredHeading = "Required";
constexpr std::string_view kShareHeading = "Share";
constexpr std::string_view kRunningText = "running";

// Column widths of the rows under message 98: date and time, two blanks, the kind, the
// interval, the point.
constexpr std::size_t kKindWidth = 15;
constexpr std::size_t kIntervalWidth = 10;
constexpr std::size_t kShiftWidth = 35;

std::string padRight(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string padLeft(const std::string& text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string trimRight(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// A non-negative number with at least `width` digits, zeros in front ("%0*d"). A year's report
// formats hundreds of thousands of them, which printf would spend most of its time on.
void appendDigits(std::string& out, int value, int width) {
    char digits[16];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && count < 16);
    for (int k = count; k < width; ++k)
        out += '0';
    while (count > 0)
        out += digits[--count];
}

void appendDate(std::string& out, CalendarDay day) {
    const std::chrono::year_month_day ymd{day};
    appendDigits(out, static_cast<int>(ymd.year()), 4);
    out += '/';
    appendDigits(out, static_cast<int>(static_cast<unsigned>(ymd.month())), 2);
    out += '/';
    appendDigits(out, static_cast<int>(static_cast<unsigned>(ymd.day())), 2);
}

void appendClock(std::string& out, int minutes, char separator) {
    appendDigits(out, minutes / 60, 2);
    out += separator;
    appendDigits(out, minutes % 60, 2);
}

std::string dateTime(Minutes minute) {
    std::string text;
    text.reserve(16);
    appendDate(text, dayOf(minute));
    text += ' ';
    appendClock(text, minuteOfDay(minute), ':');
    return text;
}

std::string pointText(const Checkpoint& checkpoint) {
    return "(" + checkpoint.id + ") " + checkpoint.name;
}

using Kind = ReportLine::Kind;

void addSchedule(std::vector<ReportLine>& out, const PatrolSchedule& s, const MessageTable& m) {
    char minutes[2][16];
    std::snprintf(minutes[0], sizeof minutes[0], "%03d", s.roundMinutes);
    std::snprintf(minutes[1], sizeof minutes[1], "%03d", s.restMinutes);
    std::string line =
        m.MessageText(90) + " : " + minutes[0] + "   " + m.MessageText(91) + " : " + minutes[1];
    if (s.type == static_cast<int>(FailedPatrolType::MultipleBaton))
        line += "   " + m.MessageText(55) + " : " + std::to_string(s.requiredBatons());
    out.push_back({Kind::Text, line});
    out.push_back({Kind::Text, ""});
    out.push_back({Kind::Heading, m.MessageText(92)});
    std::string start = m.MessageText(93), finish = m.MessageText(94);
    for (const PatrolWindow& w : s.days) {
        start += (w.set ? w.startText : std::string("  -  ")) + ":";
        finish += (w.set ? w.finishText : std::string("  -  ")) + ":";
    }
    out.push_back({Kind::Row, start});
    out.push_back({Kind::Row, finish});
}

// The three kinds' names, looked up once for all rows.
using KindNames = std::array<std::string, 3>;

KindNames kindNames(const MessageTable& m) {
    return {exceptionKindName(ExceptionKind::ShiftNotDone, m),
            exceptionKindName(ExceptionKind::FailedPatrol, m),
            exceptionKindName(ExceptionKind::MissedPoint, m)};
}

std::string exceptionRow(const ExceptionReportData& data, const PatrolException& e,
                         const KindNames& kinds) {
    std::string point;
    if (e.checkpoint >= 0) {
        point = pointText(data.checkpoints[static_cast<std::size_t>(e.checkpoint)]);
    } else if (e.kind == ExceptionKind::FailedPatrol) {
        const ShiftOutcome& shift = data.findings.shifts[static_cast<std::size_t>(e.shift)];
        point = std::to_string(shift.made) + "/" + std::to_string(shift.required) + " (" +
                std::to_string(shift.share().value_or(0)) + "%)";
    }
    std::string row = dateTime(e.time);
    row.reserve(row.size() + 2 + kKindWidth + kIntervalWidth + point.size());
    row += "  ";
    row += padRight(kinds[static_cast<std::size_t>(e.kind)], kKindWidth);
    row += padRight(reportInterval(e.interval), kIntervalWidth);
    row += point;
    return row;
}

void addExceptions(std::vector<ReportLine>& out, const ExceptionReportData& data,
                   const MessageTable& m) {
    out.push_back({Kind::Text, m.MessageText(95)});
    out.push_back({Kind::Text, m.MessageText(96)});
    out.push_back({Kind::Text, m.MessageText(97)});
    out.push_back({Kind::Text, ""});
    if (data.findings.exceptions.empty()) {
        out.push_back({Kind::Text, m.MessageText(102)});
        return;
    }
    out.push_back({Kind::Heading, m.MessageText(98)});
    const KindNames kinds = kindNames(m);
    out.reserve(out.size() + data.findings.exceptions.size() + data.findings.shifts.size() + 16);
    for (const PatrolException& e : data.findings.exceptions)
        out.push_back({Kind::Row, exceptionRow(data, e, kinds)});
}

void addShares(std::vector<ReportLine>& out, const ExceptionReportData& data) {
    if (data.findings.shifts.empty())
        return;
    out.push_back({Kind::Text, ""});
    out.push_back({Kind::Heading, padRight(std::string(kShiftHeading), kShiftWidth) + "  " +
                                      padLeft(std::string(kMadeHeading), 6) +
                                      padLeft(std::string(kRequiredHeading), 10) +
                                      padLeft(std::string(kShareHeading), 8)});
    for (const ShiftOutcome& shift : data.findings.shifts) {
        const auto share = shift.share();
        const std::string shareText = shift.running ? std::string(kRunningText)
                                      : share       ? std::to_string(*share) + "%"
                                                    : std::string("-");
        const std::string made = shift.running ? std::string("-") : std::to_string(shift.made);
        out.push_back(
            {Kind::Row, padRight(dateTime(shift.start) + " - " + dateTime(shift.end), kShiftWidth) +
                            "  " + padLeft(made, 6) + padLeft(std::to_string(shift.required), 10) +
                            padLeft(shareText, 8)});
    }
}

void addLegend(std::vector<ReportLine>& out, const MessageTable& m) {
    const std::size_t width = kKindWidth + 2;
    out.push_back({Kind::Text, ""});
    out.push_back({Kind::Text, m.MessageText(103)});
    out.push_back({Kind::Text, padRight(exceptionKindName(ExceptionKind::ShiftNotDone, m), width) +
                                   m.MessageText(104)});
    out.push_back({Kind::Text, padRight(exceptionKindName(ExceptionKind::FailedPatrol, m), width) +
                                   m.MessageText(105)});
    out.push_back({Kind::Text, padRight(exceptionKindName(ExceptionKind::MissedPoint, m), width) +
                                   m.MessageText(106)});
    out.push_back({Kind::Text, std::string(width, ' ') + m.MessageText(107)});
}

} // namespace

std::string reportDate(CalendarDay day) {
    std::string text;
    appendDate(text, day);
    return text;
}

std::string reportTime(Minutes minute) {
    std::string text;
    appendClock(text, minuteOfDay(minute), ':');
    return text;
}

std::string reportInterval(int minutes) {
    if (minutes < 0) { // never for a gap, but printed as before
        char text[32];
        std::snprintf(text, sizeof text, "%02dh%02d", minutes / 60, minutes % 60);
        return text;
    }
    std::string text;
    appendClock(text, minutes, 'h');
    return text;
}

std::string exceptionKindName(ExceptionKind kind, const MessageTable& messages) {
    switch (kind) {
    case ExceptionKind::ShiftNotDone:
        return trimRight(messages.MessageText(99));
    case ExceptionKind::FailedPatrol:
        return trimRight(messages.MessageText(100));
    case ExceptionKind::MissedPoint:
        break;
    }
    return trimRight(messages.MessageText(101));
}

std::string exceptionReportTitle(const ExceptionRequest& request, const MessageTable& messages) {
    return messages.MessageText(88) + " " + reportDate(request.first) + " " +
           messages.MessageText(48) + " " + reportDate(request.last);
}

std::vector<ReportLine> layoutExceptionReport(const ExceptionReportData& data,
                                              const MessageTable& m) {
    std::vector<ReportLine> out;
    out.push_back({Kind::Text, exceptionReportTitle(data.request, m)});
    out.push_back({Kind::Text, m.MessageText(89) + " " + data.request.site});
    out.push_back({Kind::Text, ""});
    switch (data.outcome) {
    case ExceptionOutcome::NoSchedule:
        out.push_back({Kind::Text, std::string(kNoScheduleText)});
        return out;
    case ExceptionOutcome::UnreadableSchedule:
        out.push_back({Kind::Text, std::string(kUnreadableScheduleText)});
        return out;
    case ExceptionOutcome::CommonSite:
        out.push_back({Kind::Text, std::string(kCommonSiteText)});
        return out;
    case ExceptionOutcome::Checked:
    case ExceptionOutcome::NoDayFiles:
        break;
    }
    addSchedule(out, data.schedule, m);
    out.push_back({Kind::Text, ""});
    addExceptions(out, data, m);
    addShares(out, data);
    addLegend(out, m);
    return out;
}

Lines exceptionReportText(const std::vector<ReportLine>& body, const MessageTable& messages,
                          const Settings& settings) {
    Lines lines{settings.reportHeader, ""};
    for (const ReportLine& line : body)
        lines.push_back(line.text);
    lines.push_back("");
    lines.push_back(messages.MessageText(61));
    lines.push_back(messages.MessageText(62) + " " + std::string(kProgramVersion));
    lines.push_back(settings.aboutWeb);
    return lines;
}

} // namespace kestrova
