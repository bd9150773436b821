// The exception report written out: the text file, its PDF and, when asked, its CSV, in the
// program directory or under names that carry the site and the dates in a folder of the
// user's choice (scheduled runs). Standard library, core and pdf only.
#pragma once

#include "core/MessageTable.h"
#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "pdf/pdfprint.h"
#include "processing/CsvExport.h"
#include "reports/ExceptionData.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace kestrova {

// The program directory's "Exceptions.txt", "Exceptions.pdf", "Exceptions.csv", or, in an
// output folder, "<site>_exceptions_<first>[_<last>].<ext>" with ISO dates.
std::filesystem::path exceptionReportPath(const std::filesystem::path& programDir,
                                          const std::optional<std::filesystem::path>& outDir,
                                          const ExceptionRequest& request,
                                          std::string_view extension);

// One row per exception: date, time, site, type, interval, checkpoint id, location, and the
// shift's share of required clockings in percent.
CsvRow exceptionCsvHeader();
std::vector<CsvRow> exceptionCsvRows(const ExceptionReportData& data, const MessageTable& messages);

struct ExceptionFileOptions {
    std::optional<std::filesystem::path> outDir;  // none: the program directory
    bool csv = false;                             // the CSV beside the report
    std::optional<std::filesystem::path> csvFile; // the CSV under a name of the user's choice
};

// Writes the report of `data` (not NoDayFiles) and returns the files written: text, PDF and
// CSV when asked (csvFile wins over csv). Failures raise IoError; a file already replaced stays.
std::vector<std::filesystem::path>
writeExceptionReport(const std::filesystem::path& programDir, const ExceptionReportData& data,
                     const MessageTable& messages, const Settings& settings, pdf::PdfPrint& print,
                     const ExceptionFileOptions& options);

// Message 150 and the range, as the report of a range without day files shows it.
std::string exceptionNothingInRangeText(const ExceptionRequest& request,
                                        const MessageTable& messages);

// The exception report as the Reports window and kestrova-cli make it: the site's files read
// with the context's settings and messages; a range without day files writes nothing and shows
// exceptionNothingInRangeText() as information; otherwise the files are written (the output
// folder created when it is missing) and returned. Failures raise IoError.
std::vector<std::filesystem::path> createExceptionReport(ProgramContext& context,
                                                         const ExceptionRequest& request,
                                                         pdf::PdfPrint& print,
                                                         const ExceptionFileOptions& options);

} // namespace kestrova
