// A file's last-modification time as local calendar time, for the upload time a report prints.
// Standard library and POSIX time conversion only.
#pragma once

#include "core/DateTime.h"

#include <filesystem>

namespace kestrova {

// IoError when the file's time cannot be read.
LocalDateTime fileModifiedLocal(const std::filesystem::path& file);

} // namespace kestrova
