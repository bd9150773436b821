// DoRaw and the import. Standard library only.
#include "processing/DoRaw.h"

#include "core/FileNames.h"
#include "processing/PreprocessUpload.h"

namespace kestrova {
namespace fs = std::filesystem;

fs::path defaultUploadFile(const fs::path& programDir) {
    return resolveInDirectory(programDir, "Raw.txt");
}

ProcessResult DoRaw(ProcessingServices& services) {
    return DoRaw(services, defaultUploadFile(services.context.programDir));
}

ProcessResult DoRaw(ProcessingServices& services, const fs::path& uploadFile) {
    PreprocessUpload(services.context, services.state, uploadFile, services.matching);
    return ProcessUpload(services, uploadFile);
}

ProcessResult ImportUpload(ProcessingServices& services, const fs::path& uploadFile) {
    ProcessResult result = ProcessUpload(services, uploadFile);
    services.context.adminLog.WriteAdminLog("unknown", "Raw.txt imported");
    return result;
}

} // namespace kestrova
