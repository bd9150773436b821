// The two ways an upload file reaches the reports: `DoRaw` after a baton's download (day files
// first, then the reports) and the import of the main menu's "&Import" (reports only, then the
// admin-log entry). Standard library only.
#pragma once

#include "processing/ProcessUpload.h"

#include <filesystem>

namespace kestrova {

// "Raw.txt" of the program directory, whatever the case of its name.
std::filesystem::path defaultUploadFile(const std::filesystem::path& programDir);

// Pre-processing, then processing, of `uploadFile` (by default the program directory's
// "Raw.txt").
ProcessResult DoRaw(ProcessingServices& services);
ProcessResult DoRaw(ProcessingServices& services, const std::filesystem::path& uploadFile);

// Processing alone, then the admin-log entry "Raw.txt imported" (site "unknown").
ProcessResult ImportUpload(ProcessingServices& services, const std::filesystem::path& uploadFile);

} // namespace kestrova
