// Clockings as CSV rows, and the unattended copies of an upload's clocking reports: when the
// settings name a report copy folder, every processed upload leaves there, per site, the PDF of
// its clocking report and the same clockings as CSV, named by the site and the date and time
// of the run ("North Gate_clockings_2024-03-05_1407.pdf" and ".csv"). Standard library and
// core only.
#pragma once

#include "core/DateTime.h"
#include "core/MessageTable.h"
#include "core/TextFile.h"
#include "processing/CsvExport.h"

#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

namespace kestrova {

// One site's clocking report of a processing run.
struct ProcessedSite {
    std::string site;
    std::filesystem::path pdf;
    Lines clockings; // the site's clocking lines, as the report lists them
};

// Location names by id: the site's own list first, then the common site's list.
using LocationNames = std::unordered_map<std::string, std::string>;
LocationNames readLocationNames(const std::filesystem::path& programDir, const std::string& site);

// One row per clocking: Date (YYYY-MM-DD), Time (HH:MM:SS), Site, Checkpoint Id, Location. The
// hour marks do not change the time; special records, and lines whose date or time cannot be
// read, make no row. An id that no list names is "Unknown checkpoint" (message 23).
CsvRow clockingCsvHeader();
std::vector<CsvRow> clockingCsvRows(const std::string& site, const Lines& clockings,
                                    const LocationNames& names, const MessageTable& messages);

// Writes each site's copies into `folder`, creating it when it is missing, and returns the
// files written. Failures raise IoError; copies already made stay.
std::vector<std::filesystem::path> copyReportsToFolder(const std::filesystem::path& programDir,
                                                       const std::filesystem::path& folder,
                                                       const std::vector<ProcessedSite>& sites,
                                                       const LocalDateTime& runTime,
                                                       const MessageTable& messages);

} // namespace kestrova
