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

// A line of a file's bytes with its line end: [begin, end) is the text, `next` where the next
// line starts.
struct LineSpan {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

std::vector<LineSpan> lineSpans(std::string_view bytes) {
    std::vector<LineSpan> spans;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t stop = bytes.find_first_of("\r\n", at);
        if (stop == std::string_view::npos) {
            spans.push_back({at, bytes.size(), bytes.size()});
            break;
        }
        std::size_t next = stop + 1;
        if (bytes[stop] == '\r' && next < bytes.size() && bytes[next] == '\n')
            ++next;
        spans.push_back({at, stop, next});
        at = next;
    }
    return spans;
}

// Inserts the lines (day-file lines of one date) into a file's bytes at their places: before
// the first line that sorts after them, so equal clockings keep the file's order first.
std::string insertLines(const std::string& bytes, std::vector<std::string> lines) {
    const std::vector<LineSpan> spans = lineSpans(bytes);
    std::vector<std::string> existing;
    std::vector<std::string> keys;
    for (const auto& span : spans) {
        existing.emplace_back(bytes.substr(span.begin, span.end - span.begin));
        keys.push_back(existing.back().size() >= kDayFileLineLength ? sortKey(existing.back())
                                                                    : std::string());
    }
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return lessIgnoringCase(sortKey(a), sortKey(b));
    });
    std::map<std::size_t, std::vector<std::string>> before;
    for (auto& line : lines) {
        if (std::find(existing.begin(), existing.end(), line) != existing.end())
            continue;
        const std::string key = sortKey(line);
        std::size_t k = 0;
        while (k < existing.size() && (keys[k].empty() || !lessIgnoringCase(key, keys[k])))
            ++k;
        before[k].push_back(std::move(line));
    }
    if (before.empty())
        return bytes;
    std::string out;
    out.reserve(bytes.size() + lines.size() * (kDayFileLineLength + kLineEnd.size()));
    const auto emitNew = [&](std::size_t k) {
        const auto found = before.find(k);
        if (found == before.end())
            return;
        if (!out.empty() && out.back() != '\n' && out.back() != '\r')
            out += kLineEnd;
        for (const auto& line : found->second) {
            out += line;
            out += kLineEnd;
        }
    };
    for (std::size_t k = 0; k < spans.size(); ++k) {
        emitNew(k);
        out.append(bytes, spans[k].begin, spans[k].next - spans[k].begin);
    }
    emitNew(spans.size());
    return out;
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

void insertIntoDayFiles(const fs::path& siteDir, const Lines& clockings) {
    std::map<std::string, std::vector<std::string>> linesByDate;
    for (const auto& line : clockings) {
        if (line.size() < kDayFileLineLength)
            continue;
        if (isSpecialRecord(line) && !isUnitRecord(line, kDayFileLineLength))
            continue;
        const std::string date(columns(line, 13, 18));
        if (isDate(date))
            linesByDate[date].push_back(line.substr(0, kDayFileLineLength));
    }
    if (linesByDate.empty())
        return;
    const fs::path rawDir = rawDirectory(siteDir);
    for (auto& [date, lines] : linesByDate) {
        const fs::path file = dayFilePath(rawDir, date);
        const std::string bytes = fileExists(file) ? readFileBytes(file) : std::string();
        const std::string merged = insertLines(bytes, std::move(lines));
        if (merged != bytes || !fileExists(file))
            replaceFile(file, merged);
    }
}

} // namespace kestrova
