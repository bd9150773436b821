// File times in local time. Standard library and POSIX localtime_r.
#include "processing/FileTime.h"

#include "core/Errors.h"

#include <chrono>
#include <ctime>
#include <system_error>

namespace kestrova {

LocalDateTime fileModifiedLocal(const std::filesystem::path& file) {
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(file, ec);
    if (ec)
        throw makeIoError("read the time of", file);
    const auto system = std::chrono::file_clock::to_sys(written);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(system.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(millis / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    return LocalDateTime{local.tm_year + 1900,
                         local.tm_mon + 1,
                         local.tm_mday,
                         local.tm_hour,
                         local.tm_min,
                         local.tm_sec,
                         static_cast<int>(millis % 1000)};
}

} // namespace kestrova
