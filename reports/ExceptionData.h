// Everything one exception report shows, read from the site's files: its schedule from the
// list file, its checkpoints, the clockings of its day files and what the rules found in them.
// Standard library, core and processing only.
//
// Reading the clockings: a day-file line is a clocking when it has 22 characters, a date and a
// clock time. The hour marks (the two top bits of the hour byte) do not change the time: a
// marked clocking counts like any other. Special records (minute byte above 127) name the
// unit of the next clocking and are not clockings. Lines whose date or time cannot be read are
// passed over.
#pragma once

#include "reports/ExceptionReport.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

struct ExceptionRequest {
    std::string site;
    CalendarDay first;
    CalendarDay last;
    Minutes now = 0; // shifts ending later are running
};

enum class ExceptionOutcome {
    Checked,    // the rules ran
    NoSchedule, // the report says so in one line
    UnreadableSchedule,
    CommonSite, // the common site's clockings belong to real sites
    NoDayFiles, // nothing to report: the caller shows message 150 with the range
};

struct ExceptionReportData {
    ExceptionRequest request;
    ExceptionOutcome outcome = ExceptionOutcome::Checked;
    PatrolSchedule schedule;
    std::vector<Checkpoint> checkpoints; // the patrol points, in list order
    ExceptionFindings findings;
};

// A clocking's time from a day-file line; none for special records and unreadable lines.
std::optional<Minutes> dayFileClockingTime(std::string_view line);

// The day files a range reads: its days and, for a shift of its last day that runs past
// midnight, the day after.
ExceptionReportData loadExceptionReport(const std::filesystem::path& programDir,
                                        const ExceptionRequest& request);

} // namespace kestrova
