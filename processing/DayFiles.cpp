// Merging uploads into day files. Standard library only.
#include "processing/DayFiles.h"

#include "core/Errors.h"
#include "core/FileNames.h"
#include "processing/UploadLine.h"

#include <algorithm>
#include <map>
#include <system_error>
#include <vector>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

// Date and time first, then lead field and id: the order the day files keep.
std::string sortKey(std::string_view line) {
    std::string key(columns(line, 13, kDayFileLineLength));
    key += columns(line, 1, 12);
    return key;
}

std::string dayFileLine(std::string_view key) {
    std::string line(key.substr(10, 12));
    line += key.substr(0, 10);
    return line;
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return upper(x) < upper(y); });
}

bool isDate(std::string_view date) {
    return date.size() == 6 &&
           std::all_of(date.begin(), date.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

fs::path rawDirectory(const fs::path& siteDir) {
    const fs::path raw = resolveInDirectory(siteDir, "Raw");
    if (!directoryExists(raw)) {
        std::error_code ec;
        fs::create_directories(raw, ec);
        if (ec)
            throw makeIoError("create", raw);
    }
    return raw;
}

fs::path dayFilePath(const fs::path& rawDir, std::string_view date) {
    return resolveInDirectory(rawDir, std::string(date) + ".txt");
}

void mergeIntoDayFiles(const fs::path& siteDir, const Lines& bucket) {
    std::map<std::string, std::vector<std::string>> keysByDate;
    for (const auto& line : bucket) {
        if (line.size() < kDayFileLineLength)
            continue;
        const std::string date(columns(line, 13, 18));
        if (isDate(date))
            keysByDate[date].push_back(sortKey(line));
    }
    if (keysByDate.empty())
        return;

    const fs::path rawDir = rawDirectory(siteDir);
    for (auto& [date, keys] : keysByDate) {
        const fs::path file = dayFilePath(rawDir, date);
        if (fileExists(file)) {
            for (const auto& line : readLines(file)) {
                if (line.size() >= kDayFileLineLength)
                    keys.push_back(sortKey(line));
            }
        }
        std::stable_sort(keys.begin(), keys.end(), lessIgnoringCase);
        Lines out;
        out.reserve(keys.size());
        for (const auto& key : keys)
            out.push_back(dayFileLine(key));
        replaceFileLines(file, out);
    }
}

} // namespace kestrova
