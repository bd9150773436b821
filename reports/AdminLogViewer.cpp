// The admin-log viewer's month list, entries and export. Standard library and core only.
#include "reports/AdminLogViewer.h"

#include "core/FileNames.h"
#include "core/TextFile.h"
#include "processing/ClockingReport.h"
#include "reports/CommaText.h"

#include <algorithm>
#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

const std::array<std::string_view, 12>& logMonthNames() {
    static const std::array<std::string_view, 12> names = {
        "January", "Febuary", "March",     "April",   "May",      "June",
        "July",    "August",  "September", "October", "November", "December"};
    return names;
}

std::string logMonthCaption(const std::string& fileName) {
    // Characters from the third up to the first "." (without one, up to the last character).
    const std::size_t dot = fileName.find('.');
    const std::size_t end = dot != std::string::npos ? dot : fileName.size() - 1;
    const std::string text = end > 2 ? fileName.substr(2, end - 2) : std::string();
    int month = 0;
    if (text.size() >= 6 && text[4] >= '0' && text[4] <= '9' && text[5] >= '0' && text[5] <= '9')
        month = (text[4] - '0') * 10 + (text[5] - '0');
    if (month < 1 || month > 12)
        return "Err " + fileName;
    return std::string(logMonthNames()[static_cast<std::size_t>(month - 1)]) + " " +
           text.substr(0, 4);
}

std::vector<LogMonth> listLogMonths(const fs::path& programDir) {
    std::vector<LogMonth> months;
    std::error_code ec;
    for (fs::directory_iterator it(programDir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const std::string name = it->path().filename().string();
        if (name.size() < 6 || !equalsIgnoreCase(name.substr(0, 2), "LG") ||
            !equalsIgnoreCase(name.substr(name.size() - 4), ".txt"))
            continue;
        if (name[2] == 'm')
            continue;
        months.push_back({logMonthCaption(name), name});
    }
    return months;
}

std::vector<LogEntry> loadLogEntries(const fs::path& programDir, const LogMonth& month) {
    std::vector<LogEntry> entries;
    for (const auto& line : readLines(programDir / month.fileName)) {
        auto fields = readCommaText(line);
        fields.resize(std::max<std::size_t>(fields.size(), 3));
        entries.push_back({fields[0], fields[1], fields[2]});
    }
    return entries;
}

std::vector<std::string> exportLines(const std::vector<LogEntry>& entries) {
    std::vector<std::string> lines;
    lines.push_back("\"Admin Report Created by Kestrova Ver" + std::string(kProgramVersion) + "\"");
    lines.push_back(writeCommaText({"Date & Time", "Site Affected", "Action Taken"}));
    for (const auto& entry : entries)
        lines.push_back(writeCommaText({entry.dateTime, entry.site, entry.action}));
    return lines;
}

void saveLogExport(const fs::path& file, const std::vector<LogEntry>& entries) {
    replaceFileLines(file, exportLines(entries));
}

} // namespace kestrova
