// The program's upload processing, over the shared state.
#include "shell/UploadProcessor.h"

namespace kestrova {

UploadProcessor::UploadProcessor(ProgramContext& context, MainState& state,
                                 UnknownCheckpointChooser& chooser, pdf::PdfPrint& print)
    : context_(context), state_(state), chooser_(chooser), print_(print), report_(print) {}

ProcessingServices UploadProcessor::services() {
    // A language loaded since the last run reaches the PDF's texts too.
    print_.PdfSetMessages(context_.messages.range(1, pdf::PdfPrint::kMessageCount));
    return ProcessingServices{context_, state_, chooser_, report_};
}

ProcessResult UploadProcessor::collect(ProcessResult result) {
    reports_.insert(reports_.end(), result.reports.begin(), result.reports.end());
    return result;
}

void UploadProcessor::DoRaw() {
    doRaw(defaultUploadFile(context_.programDir));
}

ProcessResult UploadProcessor::doRaw(const std::filesystem::path& uploadFile) {
    ProcessingServices s = services();
    return collect(kestrova::DoRaw(s, uploadFile));
}

ProcessResult UploadProcessor::process(const std::filesystem::path& uploadFile) {
    ProcessingServices s = services();
    return collect(ProcessUpload(s, uploadFile));
}

ProcessResult UploadProcessor::import(const std::filesystem::path& uploadFile) {
    ProcessingServices s = services();
    return collect(ImportUpload(s, uploadFile));
}

} // namespace kestrova
