#include "core/CheckpointList.h"

#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/TextFile.h"

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLongestSectionEnd = 9; // a line this short ends the checkpoint section
constexpr std::size_t kLongestNonId = 5;      // a line this short ends the index ids
constexpr std::size_t kIdLength = 6;
constexpr std::size_t kScheduleKeyLength = 14;
constexpr std::string_view kHeaderPrefix = "//Checkpoint list for ";
constexpr std::string_view kTemporaryName = "checkpt.$$$";

bool isCheckpointLine(const std::string& line) {
    return line.size() > kLongestSectionEnd;
}

Checkpoint parseCheckpointLine(const std::string& line) {
    return Checkpoint{line.substr(0, kIdLength), line[7], line.substr(9)};
}

// Columns 15 up to the first space of a schedule line; "0" where there is nothing.
std::string scheduleValue(const std::string& line) {
    std::string value;
    if (line.size() > kScheduleKeyLength) {
        const std::string rest = line.substr(kScheduleKeyLength);
        value = rest.substr(0, rest.find(' '));
    }
    return value.empty() ? "0" : value;
}

std::string padLeft(std::string text, std::size_t width) {
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

fs::path siteDirectory(const fs::path& programDir, const std::string& site) {
    return resolveInDirectory(programDir, site);
}

} // namespace

const std::array<std::string_view, kScheduleValueCount>& scheduleKeys() {
    static const std::array<std::string_view, kScheduleValueCount> keys = {
        "Round Time  = ", "Rest Time   = ", "Num Batons  = ", "FP Type     = ", "ST Mon      = ",
        "FT Mon      = ", "ST Tue      = ", "FT Tue      = ", "ST Wed      = ", "FT Wed      = ",
        "ST Thu      = ", "FT Thu      = ", "ST Fri      = ", "FT Fri      = ", "ST Sat      = ",
        "FT Sat      = ", "ST Sun      = ", "FT Sun      = ",
    };
    return keys;
}

fs::path checkpointListPath(const fs::path& programDir, const std::string& site) {
    return resolveInDirectory(siteDirectory(programDir, site), kCheckpointListName);
}

bool checkpointListExists(const fs::path& programDir, const std::string& site) {
    return fileExists(checkpointListPath(programDir, site));
}

std::string checkpointLine(const std::string& id, char mark, const std::string& name) {
    return id + " " + mark + " " + (name.empty() ? std::string(" ") : name);
}

std::vector<Checkpoint> readCheckpointSection(const std::vector<std::string>& lines) {
    std::vector<Checkpoint> checkpoints;
    for (std::size_t i = 2; i < lines.size() && isCheckpointLine(lines[i]); ++i)
        checkpoints.push_back(parseCheckpointLine(lines[i]));
    return checkpoints;
}

CheckpointListContents LoadCheckpointList(const fs::path& programDir, const std::string& site) {
    LineReader reader = LineReader::fromFile(checkpointListPath(programDir, site));
    reader.next();
    reader.next();
    CheckpointListContents contents;
    for (std::string line = reader.next(); isCheckpointLine(line); line = reader.next())
        contents.checkpoints.push_back(parseCheckpointLine(line));
    for (auto& value : contents.schedule)
        value = reader.atEnd() ? "0" : scheduleValue(reader.next());
    return contents;
}

ScheduleValues normaliseSchedule(const ScheduleValues& raw) {
    ScheduleValues values = raw;
    values[kRoundTime] = padLeft(values[kRoundTime], 3);
    values[kRestTime] = padLeft(values[kRestTime], 3);
    values[kNumBatons] = values[kNumBatons].substr(0, 1);
    values[kFailedPatrolType] = values[kFailedPatrolType].substr(0, 1);
    for (std::size_t i = kFirstDayTime; i < kScheduleValueCount; ++i) {
        values[i] = padLeft(values[i], 5);
        values[i][2] = 'h';
    }
    return values;
}

int failedPatrolTypeIndex(const ScheduleValues& values) {
    return toInteger(values[kFailedPatrolType].substr(0, 1));
}

void SaveCheckpointList(const fs::path& programDir, const std::string& site,
                        const std::vector<Checkpoint>& checkpoints,
                        const ScheduleValues& schedule) {
    Lines lines;
    lines.push_back(std::string(kHeaderPrefix) + site);
    lines.emplace_back();
    for (const auto& checkpoint : checkpoints)
        lines.push_back(checkpointLine(checkpoint.id, checkpoint.mark, checkpoint.name));
    lines.emplace_back();
    for (std::size_t i = 0; i < kScheduleValueCount; ++i)
        lines.push_back(std::string(scheduleKeys()[i]) + schedule[i]);
    lines.emplace_back();
    lines.emplace_back("//End of File");
    replaceFileLines(checkpointListPath(programDir, site), lines);
}

void CreateEmptyCheckpointList(const fs::path& programDir, const std::string& site,
                               EmptyListForm form) {
    const bool named = form == EmptyListForm::NamedForSite;
    const Lines lines = {
        std::string(kHeaderPrefix) + (named ? site : std::string("Kestrova")),
        "",
        "",
        named ? "//End of File" : "//End of file",
    };
    replaceFileLines(checkpointListPath(programDir, site), lines);
}

void AppendCheckpoint(const fs::path& programDir, const std::string& site, const std::string& id,
                      const std::string& name) {
    const fs::path list = checkpointListPath(programDir, site);
    LineReader reader = LineReader::fromFile(list);
    Lines out;
    out.push_back(reader.next());
    out.push_back(reader.next());
    // Copy the checkpoint lines; the empty line that ends the section is left behind and
    // written again after the new line. Lines the index still reads as ids (an id alone, say)
    // are copied too: the new line and its empty line after them keep every indexed id indexed.
    std::string line = reader.next();
    if (!line.empty())
        out.push_back(line);
    while (line.size() > kLongestNonId) {
        line = reader.next();
        if (!line.empty())
            out.push_back(line);
    }
    out.push_back(checkpointLine(id, kOrdinaryMark, name));
    out.emplace_back();
    while (!reader.atEnd())
        out.push_back(reader.next());

    // The copy in the program directory is kept, as existing installations expect; the list
    // itself is replaced in one step, so a failure leaves the old list whole.
    const std::string bytes = joinLines(out);
    replaceFile(resolveInDirectory(programDir, kTemporaryName), bytes);
    replaceFile(list, bytes);
}

std::vector<std::string> ReadCheckpointIds(const fs::path& programDir, const std::string& site) {
    const Lines lines = readLines(checkpointListPath(programDir, site));
    std::vector<std::string> ids;
    for (std::size_t i = 2; i < lines.size() && lines[i].size() > kLongestNonId; ++i)
        ids.push_back(lines[i].substr(0, kIdLength));
    return ids;
}

} // namespace kestrova
