// The report request in "Raw.txt": range selection, checkpoint sort, Done marker, hand-over
// and completion check. Standard library, core and processing only.
#include "reports/ReportRequest.h"

#include "core/Errors.h"
#include "core/FileNames.h"
#include "processing/DoRaw.h"
#include "processing/UploadLine.h"
#include "reports/DayFileReading.h"
#include "reports/ReportCheckpoints.h"
#include "reports/RequestFile.h"

namespace kestrova {
namespace fs = std::filesystem;

namespace {

// Pending events run once per this many lines: enough for the window to repaint, without
// spending more time on the event loop than on the clockings.
constexpr std::size_t kLinesPerEventPass = 256;

LocalDateTime atTime(const LocalDateTime& day, const std::string& timeText) {
    const auto time = parseTimeText(timeText);
    if (!time)
        throw ConversionError("'" + timeText + "' is not a valid time");
    LocalDateTime t = day;
    t.hour = time->hour;
    t.minute = time->minute;
    t.second = 0;
    t.millisecond = 0;
    return t;
}

HourMinute hourMinute(const LocalDateTime& t) {
    return {t.hour, t.minute};
}

bool sameDay(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

} // namespace

std::string selectedPointId(const std::string& selectorText) {
    std::string padded = selectorText;
    if (padded.size() < 7)
        padded.insert(0, 7 - padded.size(), '0');
    return padded.substr(1, 6);
}

Lines requestClockings(const fs::path& programDir) {
    Lines lines = readLines(defaultUploadFile(programDir));
    if (!lines.empty())
        lines.erase(lines.begin());
    if (!lines.empty() && lines.back() == kDoneMarker)
        lines.pop_back();
    return lines;
}

ReportRequest::ReportRequest(ProgramContext& context, MainState& state, std::string site,
                             ReportRange range, ReportKind kind)
    : c_(context), state_(state), site_(std::move(site)), range_(std::move(range)), kind_(kind),
      start_(atTime(range_.startDate, range_.startTime)),
      end_(atTime(range_.endDate, range_.endTime)) {}

fs::path ReportRequest::requestFile() const {
    return defaultUploadFile(c_.programDir);
}

fs::path ReportRequest::siteDirectory() const {
    return resolveInDirectory(c_.programDir, site_);
}

std::string ReportRequest::rangeText() const {
    const LocaleFormats& locale = c_.desktop.locale;
    const MessageTable& m = c_.messages;
    return m.MessageText(47) + " " + locale.longTime(start_) + " " + locale.shortDate(start_) +
           " " + m.MessageText(48) + " " + locale.longTime(end_) + " " + locale.shortDate(end_);
}

void ReportRequest::SelectRange() {
    recordCount_ = 0;
    LineWriter out(requestFile());
    out.write((kind_ == ReportKind::Overview ? "Idx: " : "Id : ") + rangeText());
    c_.desktop.busy.setBusy(true);
    state_.setStatusText(c_.messages.MessageText(37));
    EventPump& events = c_.desktop.events;
    events.processEvents();

    const fs::path siteDir = siteDirectory();
    const HourMinute from = hourMinute(start_);
    const HourMinute to = hourMinute(end_);
    std::size_t sincePass = 0;
    for (LocalDateTime day = range_.startDate; day <= range_.endDate; day = addDays(day, 1)) {
        const auto file = findDayFile(siteDir, day);
        if (!file)
            continue;
        const bool first = sameDay(day, range_.startDate);
        const bool last = sameDay(day, range_.endDate);
        for (const std::string& read : readLines(*file)) {
            const std::string_view line =
                read.size() < kShortestRangeLine ? kZeroLine : std::string_view(read);
            bool take = true;
            if (first || last) {
                const auto time = rangeLineTime(line);
                if (!time) {
                    c_.desktop.dialogs.showInformation(c_.messages.MessageText(160));
                    take = false;
                } else {
                    take = (!first || *time >= from) && (!last || *time <= to);
                }
            }
            if (take) {
                out.write(line);
                ++recordCount_;
            }
            if (++sincePass == kLinesPerEventPass) {
                sincePass = 0;
                events.processEvents();
            }
        }
        events.processEvents();
    }
    out.close();
}

void ReportRequest::SortByCheckpoint(bool pointFilter, const std::string& selectorText) {
    const auto checkpoints = loadReportCheckpoints(c_.programDir, site_);
    const Lines request = readLines(requestFile());
    const CheckpointBuckets buckets(checkpoints, request);
    const std::string selected = selectedPointId(selectorText);

    LineWriter out(requestFile());
    out.write("Ids: " + rangeText());
    for (std::size_t k = 0; k < checkpoints.size(); ++k) {
        if (buckets.isRepeat(k))
            continue;
        if (pointFilter && checkpoints[k].id != selected)
            continue;
        for (const auto& line : buckets.bucket(k))
            out.write(line);
        c_.desktop.events.processEvents();
    }
    out.close();
}

void ReportRequest::FinishRequest() {
    appendLine(requestFile(), kDoneMarker);
}

ProcessResult ReportRequest::HandOver(ProcessingServices& services, bool pointFilter) {
    if (recordCount_ <= 0 || kind_ == ReportKind::Overview)
        return {};
    return ProcessUpload(services, requestFile(), ProcessOptions{pointFilter});
}

Completion ReportRequest::CheckCompletion() {
    std::size_t count = 0;
    try {
        count = readLines(requestFile()).size();
    } catch (const IoError&) {
        count = 0;
    }
    c_.desktop.busy.setBusy(false);
    if (count > 2)
        return Completion::Reported;
    if (count == 0) {
        c_.desktop.dialogs.showInformation(c_.messages.MessageText(149));
        return Completion::NoFile;
    }
    c_.desktop.dialogs.showInformation(c_.messages.MessageText(150) + "\n\r" + rangeText());
    return Completion::NothingInRange;
}

} // namespace kestrova
