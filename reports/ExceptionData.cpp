// Reading a site's schedule, checkpoints and day files for the exception report. Standard
// library, core and processing only.
#include "reports/ExceptionData.h"

#include "core/FileNames.h"
#include "core/SiteList.h"
#include "core/TextFile.h"
#include "processing/DayFiles.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <system_error>
#include <unordered_map>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<int> decimal(std::string_view digits) {
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A byte written as two hexadecimal digits, read back as the two decimal digits it encodes.
std::optional<int> bcdByte(int byte) {
    const int high = byte >> 4;
    const int low = byte & 0x0F;
    if (high > 9 || low > 9)
        return std::nullopt;
    return high * 10 + low;
}

// The site's day files by lower-case name, from one listing of its "Raw" directory.
std::map<std::string, fs::path> listDayFiles(const fs::path& siteDir) {
    std::map<std::string, fs::path> files;
    const fs::path raw = resolveInDirectory(siteDir, "Raw");
    std::error_code ec;
    for (fs::directory_iterator it(raw, ec), end; !ec && it != end; it.increment(ec))
        files.emplace(toLowerAscii(it->path().filename().string()), it->path());
    return files;
}

std::string dayFileName(CalendarDay day) {
    const std::chrono::year_month_day ymd{day};
    char name[16];
    std::snprintf(name, sizeof name, "%02d%02u%02u.txt", static_cast<int>(ymd.year()) % 100,
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return name;
}

struct DayFileClockings {
    bool anyFile = false;
    std::vector<ExceptionClocking> clockings;
};

DayFileClockings readClockings(const fs::path& siteDir, CalendarDay first, CalendarDay last,
                               const std::vector<Checkpoint>& checkpoints) {
    std::unordered_map<std::string, int> positions;
    for (std::size_t k = 0; k < checkpoints.size(); ++k)
        positions.emplace(checkpoints[k].id, static_cast<int>(k));
    const auto files = listDayFiles(siteDir);
    DayFileClockings result;
    for (CalendarDay day = first; day <= last; day += std::chrono::days{1}) {
        const auto file = files.find(dayFileName(day));
        if (file == files.end())
            continue;
        result.anyFile = true;
        for (const auto& line : readLines(file->second)) {
            const auto time = dayFileClockingTime(line);
            if (!time)
                continue;
            const auto position = positions.find(line.substr(6, 6));
            result.clockings.push_back(
                {*time, position == positions.end() ? -1 : position->second});
        }
    }
    const auto byTime = [](const ExceptionClocking& a, const ExceptionClocking& b) {
        return a.time < b.time;
    };
    if (!std::is_sorted(result.clockings.begin(), result.clockings.end(), byTime))
        std::stable_sort(result.clockings.begin(), result.clockings.end(), byTime);
    return result;
}

} // namespace

std::optional<Minutes> dayFileClockingTime(std::string_view line) {
    if (line.size() < kDayFileLineLength)
        return std::nullopt;
    const auto year = decimal(line.substr(12, 2));
    const auto month = decimal(line.substr(14, 2));
    const auto day = decimal(line.substr(16, 2));
    const int hourHigh = hexDigit(line[18]), hourLow = hexDigit(line[19]);
    const int minuteHigh = hexDigit(line[20]), minuteLow = hexDigit(line[21]);
    if (!year || !month || !day || hourHigh < 0 || hourLow < 0 || minuteHigh < 0 || minuteLow < 0)
        return std::nullopt;
    const int minuteByte = minuteHigh * 16 + minuteLow;
    if (minuteByte > 127) // a special record
        return std::nullopt;
    const auto hour = bcdByte((hourHigh * 16 + hourLow) & 0x3F); // without the hour marks
    const auto minute = bcdByte(minuteByte);
    if (!hour || !minute || *hour > 23 || *minute > 59)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{2000 + *year},
                                           std::chrono::month{static_cast<unsigned>(*month)},
                                           std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok())
        return std::nullopt;
    return minutesAt(CalendarDay{date}, *hour * 60 + *minute);
}

ExceptionReportData loadExceptionReport(const fs::path& programDir,
                                        const ExceptionRequest& request) {
    ExceptionReportData data;
    data.request = request;
    if (isCommonSite(request.site)) {
        data.outcome = ExceptionOutcome::CommonSite;
        return data;
    }
    if (!checkpointListExists(programDir, request.site)) {
        data.outcome = ExceptionOutcome::NoSchedule;
        return data;
    }
    const CheckpointListContents list = LoadCheckpointList(programDir, request.site);
    const ScheduleReading reading = readPatrolSchedule(list.schedule);
    data.schedule = reading.schedule;
    data.checkpoints = patrolCheckpoints(list.checkpoints);
    if (reading.status != ScheduleStatus::Ready) {
        data.outcome = reading.status == ScheduleStatus::Missing
                           ? ExceptionOutcome::NoSchedule
                           : ExceptionOutcome::UnreadableSchedule;
        return data;
    }
    const DayFileClockings read =
        readClockings(resolveInDirectory(programDir, request.site), request.first,
                      request.last + std::chrono::days{1}, data.checkpoints);
    if (!read.anyFile) {
        data.outcome = ExceptionOutcome::NoDayFiles;
        return data;
    }
    data.findings = findExceptions(data.schedule, static_cast<int>(data.checkpoints.size()),
                                   read.clockings, request.first, request.last, request.now);
    return data;
}

} // namespace kestrova
