// Clocking CSV rows and the unattended report copies. Standard library and core only.
#include "processing/ReportCopies.h"

#include "core/CheckpointList.h"
#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/SiteList.h"
#include "processing/UploadLine.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

bool digits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void addNames(LocationNames& names, const fs::path& list) {
    if (!fileExists(list))
        return;
    for (const auto& checkpoint : readCheckpointSection(readLines(list)))
        names.emplace(checkpoint.id, checkpoint.name); // the first entry of an id wins
}

std::string runName(const std::string& site, const LocalDateTime& t) {
    char time[16];
    std::snprintf(time, sizeof time, "_%02d%02d", t.hour, t.minute);
    return site + "_clockings_" + isoDate(t.year, t.month, t.day) + time;
}

} // namespace

LocationNames readLocationNames(const fs::path& programDir, const std::string& site) {
    LocationNames names;
    addNames(names, checkpointListPath(programDir, site));
    if (!isCommonSite(site))
        addNames(names,
                 resolveInDirectory(resolveInDirectory(programDir, "common"), kCheckpointListName));
    return names;
}

CsvRow clockingCsvHeader() {
    return {"Date", "Time", "Site", "Checkpoint Id", "Location"};
}

std::vector<CsvRow> clockingCsvRows(const std::string& site, const Lines& clockings,
                                    const LocationNames& names, const MessageTable& messages) {
    std::vector<CsvRow> rows;
    for (const auto& raw : clockings) {
        if (raw.size() < 22 || isSpecialRecord(raw))
            continue;
        const std::string line = readHourMarks(raw).line;
        const std::string_view date = columns(line, 13, 18), time = columns(line, 19, 22);
        if (!digits(date) || !digits(time))
            continue;
        const std::string id(columns(line, 7, 12));
        const auto name = names.find(id);
        const auto number = [&](std::size_t at) {
            return (line[at] - '0') * 10 + (line[at + 1] - '0');
        };
        const int month = number(14), day = number(16), hour = number(18), minute = number(20);
        if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59)
            continue;
        rows.push_back({isoDate(2000 + number(12), month, day), isoTime(hour, minute), site, id,
                        name != names.end() ? name->second : messages.MessageText(23)});
    }
    return rows;
}

std::vector<fs::path> copyReportsToFolder(const fs::path& programDir, const fs::path& folder,
                                          const std::vector<ProcessedSite>& sites,
                                          const LocalDateTime& runTime,
                                          const MessageTable& messages) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw makeIoError("create", folder);
    std::vector<fs::path> written;
    for (const ProcessedSite& s : sites) {
        const std::string name = runName(s.site, runTime);
        if (fileExists(s.pdf)) {
            replaceFile(folder / (name + ".pdf"), readFileBytes(s.pdf));
            written.push_back(folder / (name + ".pdf"));
        }
        writeCsvFile(
            folder / (name + ".csv"), clockingCsvHeader(),
            clockingCsvRows(s.site, s.clockings, readLocationNames(programDir, s.site), messages));
        written.push_back(folder / (name + ".csv"));
    }
    return written;
}

} // namespace kestrova
