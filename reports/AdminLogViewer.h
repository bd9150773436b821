// The log viewer's logic: the month list of the admin logs "LG" + yyyymm + ".txt" in the
// program directory, the entries of the months chosen, and the comma-separated export of
// "&Save / Print". The viewer only reads the logs. Standard library and core only.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// Month names 1 to 12, spelled as the program always has.
const std::array<std::string_view, 12>& logMonthNames();

struct LogMonth {
    std::string caption;  // "March 2012", or "Err " + file name
    std::string fileName; // "LG201203.txt"

    friend bool operator==(const LogMonth&, const LogMonth&) = default;
};

struct LogEntry {
    std::string dateTime;
    std::string site;
    std::string action;

    friend bool operator==(const LogEntry&, const LogEntry&) = default;
};

// The caption of a log file's row.
std::string logMonthCaption(const std::string& fileName);

// One row per "LG*.txt" file (any case), in directory order; names whose third character is
// "m" are passed over.
std::vector<LogMonth> listLogMonths(const std::filesystem::path& programDir);

// The entries of one log file, each line split as comma text (missing fields empty).
// IoError when the file cannot be read.
std::vector<LogEntry> loadLogEntries(const std::filesystem::path& programDir,
                                     const LogMonth& month);

// The lines "&Save / Print" writes: the heading, the column names, then one per entry.
std::vector<std::string> exportLines(const std::vector<LogEntry>& entries);

// Writes the lines to the chosen file, replacing it. IoError when it cannot be written.
void saveLogExport(const std::filesystem::path& file, const std::vector<LogEntry>& entries);

} // namespace kestrova
