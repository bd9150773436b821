// The overview report's shift selection and chart. Standard library, core and pdf only.
#include "reports/Overview.h"

#include "core/FileNames.h"
#include "processing/ClockingReport.h"
#include "processing/ProcessUpload.h"
#include "processing/UploadLine.h"
#include "reports/DayFileReading.h"
#include "reports/ReportCheckpoints.h"
#include "reports/RequestFile.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kShortestShiftLine = 22;
constexpr std::size_t kShortestChartLine = 21;
constexpr int kSmallestLineCount = 2;

struct Window {
    LocalDateTime from; // inclusive
    LocalDateTime to;   // exclusive
};

Window shiftWindow(const LocalDateTime& day, Shift shift) {
    if (shift == Shift::Day)
        return {day, addDays(day, 1)};
    LocalDateTime noon = day;
    noon.hour = 12;
    return {addDays(noon, -1), noon};
}

bool inWindow(const LocalDateTime& t, const Window& w) {
    return w.from <= t && t < w.to;
}

// A clocking of a bucket with its time, once read.
struct TimedLine {
    const std::string* line;
    LocalDateTime time;
    bool repeat;
};

// Equal in every character after the lead field: the same touch stored twice.
bool isRepeat(const std::string& line, const std::string& remembered) {
    return std::string_view(line).substr(6) == std::string_view(remembered).substr(6);
}

std::vector<TimedLine> readBucket(ProgramContext& context, const Lines& bucket) {
    std::vector<TimedLine> timed;
    const std::string* remembered = nullptr;
    for (const std::string& line : bucket) {
        if (line.size() < kShortestShiftLine)
            continue;
        const auto time = clockingTime(line);
        if (!time) {
            context.desktop.dialogs.showInformation(context.messages.MessageText(160));
            continue;
        }
        timed.push_back({&line, *time, remembered && isRepeat(line, *remembered)});
        remembered = &line;
    }
    return timed;
}

bool takesPart(const ReportCheckpoint& checkpoint, const OverviewOptions& options) {
    return !options.pointFilter || checkpoint.id == options.selectedId;
}

std::string shortDate(ProgramContext& context, const LocalDateTime& day) {
    return context.desktop.locale.shortDate(day);
}

// The current line of the chart's walk over the request file.
class ChartCursor {
public:
    ChartCursor(ProgramContext& context, Lines lines) : c_(context), lines_(std::move(lines)) {
        advance();
    }
    const std::optional<LocalDateTime>& time() const { return time_; }
    std::string_view id() const { return columns(line(), 7, 12); }
    std::string timeText() const {
        return std::string(columns(line(), 19, 20)) + ":" + std::string(columns(line(), 21, 22));
    }
    void advance() {
        time_.reset();
        while (++next_ < lines_.size() && lines_[next_].size() >= kShortestChartLine) {
            time_ = clockingTime(lines_[next_]);
            if (time_)
                return;
            c_.desktop.dialogs.showInformation("Error O=" + lines_[next_]);
        }
    }

private:
    std::string_view line() const {
        return time_ ? std::string_view(lines_[next_]) : std::string_view(kZeroLine);
    }

    ProgramContext& c_;
    Lines lines_;
    std::size_t next_ = 0; // the first line is the heading
    std::optional<LocalDateTime> time_;
};

int lineCount(const std::vector<std::string>& times) {
    std::array<int, 24> perHour{};
    for (const auto& t : times) {
        const int hour = (t[0] - '0') * 10 + (t[1] - '0');
        if (hour >= 0 && hour < 24)
            ++perHour[static_cast<std::size_t>(hour)];
    }
    return std::max(kSmallestLineCount, *std::max_element(perHour.begin(), perHour.end()));
}

} // namespace

std::vector<LocalDateTime> pageDays(const ReportRange& range, Shift shift) {
    std::vector<LocalDateTime> days;
    LocalDateTime day = shift == Shift::Night ? addDays(range.startDate, 1) : range.startDate;
    for (; day <= range.endDate; day = addDays(day, 1))
        days.push_back(day);
    return days;
}

bool inShiftWindow(const LocalDateTime& time, const LocalDateTime& day, Shift shift) {
    return inWindow(time, shiftWindow(day, shift));
}

void SelectShifts(ProgramContext& context, const ReportRequest& request,
                  const OverviewOptions& options) {
    const auto checkpoints = loadReportCheckpoints(context.programDir, request.site());
    const Lines requestLines = readLines(request.requestFile());
    const CheckpointBuckets buckets(checkpoints, requestLines);

    std::vector<std::vector<TimedLine>> timed(checkpoints.size());
    std::vector<std::size_t> cursor(checkpoints.size(), 0);
    for (std::size_t k = 0; k < checkpoints.size(); ++k) {
        if (!buckets.isRepeat(k) && takesPart(checkpoints[k], options))
            timed[k] = readBucket(context, buckets.bucket(k));
    }

    const MessageTable& m = context.messages;
    const ReportRange& range = request.range();
    LineWriter out(request.requestFile());
    out.write(m.MessageText(options.shift == Shift::Night ? 161 : 162) + " " + m.MessageText(47) +
              " " + shortDate(context, range.startDate) + " " + m.MessageText(48) + " " +
              shortDate(context, range.endDate));
    for (const LocalDateTime& day : pageDays(range, options.shift)) {
        const Window window = shiftWindow(day, options.shift);
        for (std::size_t k = 0; k < checkpoints.size(); ++k) {
            const auto& lines = timed[k];
            std::size_t& at = cursor[k];
            while (at < lines.size() && lines[at].time < window.from)
                ++at;
            for (; at < lines.size() && lines[at].time < window.to; ++at) {
                if (!lines[at].repeat)
                    out.write(*lines[at].line);
            }
            context.desktop.events.processEvents();
        }
    }
    out.close();
}

fs::path DrawOverview(ProgramContext& context, const ReportRequest& request,
                      const OverviewOptions& options, OverviewChart& chart) {
    const MessageTable& m = context.messages;
    const bool night = options.shift == Shift::Night;
    chart.beginChart("Kestrova Uploader Ver " + std::string(kProgramVersion) + " - " +
                         m.MessageText(146) + " " + context.settings.get().reportHeader,
                     context.settings.get().reportFooter, request.site());

    const auto checkpoints = loadReportCheckpoints(context.programDir, request.site());
    ChartCursor current(context, readLines(request.requestFile()));
    for (const LocalDateTime& day : pageDays(request.range(), options.shift)) {
        const Window window = shiftWindow(day, options.shift);
        const std::string before = shortDate(context, addDays(day, -1));
        const std::string date = shortDate(context, day);
        if (!current.time() || !inWindow(*current.time(), window)) {
            context.desktop.dialogs.showInformation(
                night ? m.MessageText(150) + " " + m.MessageText(147) + " : " + before +
                            " 12:00  " + m.MessageText(148) + " : " + date + " 12:00"
                      : m.MessageText(150) + " " + date);
            continue;
        }
        if (night)
            chart.chartPage(m.MessageText(147) + " : " + before + " 12:00",
                            "   " + m.MessageText(148) + " : " + date + " 12:00", true);
        else
            chart.chartPage(date, "", false);
        for (const auto& checkpoint : checkpoints) {
            if (!takesPart(checkpoint, options))
                continue;
            std::vector<std::string> times;
            while (current.time() && sameCheckpointId(current.id(), checkpoint.id) &&
                   inWindow(*current.time(), window)) {
                times.push_back(current.timeText());
                current.advance();
            }
            chart.chartRow(times, checkpoint.name, lineCount(times));
        }
    }

    const fs::path report = resolveInDirectory(context.programDir, "Report.pdf");
    chart.save(report);
    try {
        if (FindPdfViewer(context.programDir, context.desktop.documents, ".pdf").empty())
            context.desktop.dialogs.showInformation(m.MessageText(137) + "\r" +
                                                    std::string(kPdfViewerHelpAddress));
        else
            context.desktop.documents.openDocument(report);
    } catch (const std::exception&) {
        // The chart is written; showing it is a convenience.
    }
    return report;
}

} // namespace kestrova
