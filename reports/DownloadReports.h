// The download report list: the clocking reports that upload processing wrote into a site's
// directory, one row per file, "Date" from the file's modification year and the month and day
// of its name, "Time" from the hour and minute of its name; and the opening of the rows chosen.
//
//   08141530.txt, modified in 2013   ->   Date 2013/08/14   Time 15:30
//
// Standard library, core and processing only.
#pragma once

#include "core/ProgramContext.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kestrova {

struct DownloadReportRow {
    std::string date; // "yyyy/mm/dd", empty for a file that does not belong
    std::string time; // "hh:nn"
    std::string fileName;

    friend bool operator==(const DownloadReportRow&, const DownloadReportRow&) = default;
};

// The site's ".pdf" files (PDF option on) or ".txt" files (off), sorted by their "Date" text.
// A file whose name does not begin with a number gets an empty row and the "does not belong in
// the directory" message.
std::vector<DownloadReportRow> FillReportList(ProgramContext& context, const std::string& site,
                                              bool pdfOption);

// Opens the chosen rows in list order: the text report when it exists and the PDF option is
// off, otherwise the PDF (message 137 when no program opens PDF files). Empty rows are passed
// over; errors while opening are ignored. Returns the paths handed to the opener.
std::vector<std::filesystem::path> OpenSelectedReports(ProgramContext& context,
                                                       const std::string& site, bool pdfOption,
                                                       const std::vector<DownloadReportRow>& rows,
                                                       const std::vector<std::size_t>& selected);

} // namespace kestrova
