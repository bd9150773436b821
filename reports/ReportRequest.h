// A report request of the Reports window, built in "Raw.txt" of the program directory: the
// range selection copies the site's clockings of a date and time range from its day files
// behind a request header; the checkpoint sort regroups them by checkpoint; the Done marker
// closes the file; a clocking list is then handed to the clocking report builder, which
// recognises the header; the completion check tells what came of it.
//
//   Id : From 12:00:00 09/03/2024 to 12:00:00 10/03/2024     range selection, clocking list
//   Idx: From ...                                            range selection, overview
//   Ids: From ...                                            after the checkpoint sort
//   000000A1B2C32403091200                                   day-file lines, unchanged
//   Done
//
// Standard library, core and processing only.
#pragma once

#include "core/DateTime.h"
#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/TextFile.h"
#include "processing/ProcessUpload.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace kestrova {

// The window's report kinds. The exception report (advanced layout only) reads the day files
// itself and never builds a request file.
enum class ReportKind { ByDownload = 1, ClockingList = 2, Overview = 3, Exception = 4 };
enum class Shift { Day, Night };

// Dates are calendar days (midnight); times are the window's texts, "12h00".
struct ReportRange {
    LocalDateTime startDate;
    LocalDateTime endDate;
    std::string startTime = "12h00";
    std::string endTime = "12h00";
};

// The id of a point selector entry, "(" + id + ") " + name: characters 2-7 of the text after
// it is left-padded with "0" to seven characters.
std::string selectedPointId(const std::string& selectorText);

// What happened to a request at its end.
enum class Completion {
    Reported,       // more than two lines: the window closes
    NoFile,         // message 149
    NothingInRange, // message 150 with the range
};

// The clocking lines of the request last built in the program directory, as its report lists
// them: "Raw.txt" without its header line and its Done marker (what the CSV of a clocking list
// holds).
Lines requestClockings(const std::filesystem::path& programDir);

class ReportRequest {
public:
    // Times that do not read as "hh" "h" "nn" raise ConversionError.
    ReportRequest(ProgramContext& context, MainState& state, std::string site, ReportRange range,
                  ReportKind kind);

    const std::string& site() const { return site_; }
    const ReportRange& range() const { return range_; }
    ReportKind kind() const { return kind_; }
    std::filesystem::path requestFile() const;
    std::filesystem::path siteDirectory() const;
    std::int64_t recordCount() const { return recordCount_; }

    // "From", start time, start date, "to", end time, end date, in the locale's long time and
    // short date formats.
    std::string rangeText() const;

    void SelectRange();
    void SortByCheckpoint(bool pointFilter, const std::string& selectorText);
    void FinishRequest();
    // The clocking list's report: the combined report "Processed.txt" and, with secure
    // reports, "Report.pdf". Only when something was selected and the kind is not the overview;
    // otherwise nothing is done.
    ProcessResult HandOver(ProcessingServices& services, bool pointFilter);
    // Hides the busy panel; shows message 149 or 150 as the outcome asks.
    Completion CheckCompletion();

private:
    ProgramContext& c_;
    MainState& state_;
    std::string site_;
    ReportRange range_;
    ReportKind kind_;
    LocalDateTime start_;
    LocalDateTime end_;
    std::int64_t recordCount_ = 0;
};

} // namespace kestrova
