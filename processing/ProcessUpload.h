// The clocking report builder: turns an upload file into one clocking report per site that
// received clockings, as text and PDF, opens them for the user and logs them; or, for a report
// request of the Reports window (a header whose text is longer than 16 characters), into one
// combined report "Processed.txt" and "Report.pdf" in the program directory. Clockings of ids no
// site lists are offered to the user first. Standard library only.
#pragma once

#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "processing/ReportCopies.h"
#include "processing/ReportPdf.h"
#include "processing/SiteMatches.h"
#include "processing/UnknownCheckpoints.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace kestrova {

// The address shown with message 137 when no program opens PDF files.
inline constexpr std::string_view kPdfViewerHelpAddress =
    "https://www.kestrova.example/help/pdf-viewer.html";

// What a processing run works with besides the upload file. The main window's fields (status
// text, lamp, gauge, WritePending, the baton's ident and version) come through `state`.
struct ProcessingServices {
    ProgramContext& context;
    MainState& state;
    UnknownCheckpointChooser& unknown;
    ReportPdf& pdf;
    SiteMatching matching = SiteMatching::Indexed;
};

struct ProcessOptions {
    // The Reports window's "Point filter" box: no patrol separators, no frequency report.
    bool pointFilter = false;
};

struct ProcessResult {
    bool combined = false;
    // Every report file written, text and PDF, in the order written.
    std::vector<std::filesystem::path> reports;
    // Normal mode: each site's report with its clockings, for the unattended copies.
    std::vector<ProcessedSite> sites;
    // The copies left in the report copy folder (ReportCopyFolder), if the settings name one.
    std::vector<std::filesystem::path> copies;
};

// Errors (a file that cannot be read or written) end the run as exceptions; the busy panel is
// hidden and no bucket file stays behind. After an upload's reports are all written, a report
// copy folder that cannot be written is shown by the general error message; the run's own
// files are complete regardless.
ProcessResult ProcessUpload(ProcessingServices& services, const std::filesystem::path& uploadFile,
                            const ProcessOptions& options = {});

// MMddhhnn of a moment: names the reports of one run.
std::string reportStamp(const LocalDateTime& time);

} // namespace kestrova
