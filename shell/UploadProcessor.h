// Upload processing as the program wires it: the clocking report builder with its PDF drawn by
// the program's report drawing module, the unknown-checkpoint question answered by whoever the
// caller gives (the window, or the command line's option). It is the comms thread's
// RawProcessor (DoRaw after a download) and serves "&Import", the file chosen with "^" and the
// closing question. Runs on the user-interface thread only. May depend on core, link,
// processing and pdf.
#pragma once

#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "link/HandOver.h"
#include "pdf/pdfprint.h"
#include "processing/DoRaw.h"
#include "processing/PdfprintReport.h"

#include <filesystem>
#include <vector>

namespace kestrova {

class UploadProcessor : public RawProcessor {
public:
    // `print` is the program's report drawing module; each run gives it the current messages.
    UploadProcessor(ProgramContext& context, MainState& state, UnknownCheckpointChooser& chooser,
                    pdf::PdfPrint& print);

    // Pre-processing and processing of the program directory's "Raw.txt".
    void DoRaw() override;
    // The same for any upload file.
    ProcessResult doRaw(const std::filesystem::path& uploadFile);
    // Processing alone (the closing question, the file chosen with "^").
    ProcessResult process(const std::filesystem::path& uploadFile);
    // Processing alone, then the admin-log entry "Raw.txt imported".
    ProcessResult import(const std::filesystem::path& uploadFile);

    // Every report written by this object's runs, in the order written.
    const std::vector<std::filesystem::path>& reports() const { return reports_; }

private:
    ProcessingServices services();
    ProcessResult collect(ProcessResult result);

    ProgramContext& context_;
    MainState& state_;
    UnknownCheckpointChooser& chooser_;
    pdf::PdfPrint& print_;
    PdfprintReport report_;
    std::vector<std::filesystem::path> reports_;
};

} // namespace kestrova
