#include "core/AdminLog.h"

#include "core/DateTime.h"
#include "core/Desktop.h"
#include "core/FileNames.h"
#include "core/TextFile.h"

#include <cstdio>

namespace kestrova {
namespace fs = std::filesystem;

std::string adminLogTime(const LocalDateTime& t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d.%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return buffer;
}

AdminLog::AdminLog(fs::path programDir, const Clock& clock)
    : programDir_(std::move(programDir)), clock_(clock) {}

fs::path AdminLog::fileFor(const LocalDateTime& time) const {
    char name[16];
    std::snprintf(name, sizeof name, "LG%04d%02d.txt", time.year, time.month);
    return resolveInDirectory(programDir_, name);
}

void AdminLog::WriteAdminLog(const std::string& site, const std::string& action) {
    const LocalDateTime now = clock_.now();
    // Fields are quoted but not escaped: the log viewer and existing exports read them so.
    const std::string line = "\"" + adminLogTime(now) + "\",\"" + site + "\",\"" + action + "\"";
    const std::lock_guard lock(mutex_);
    appendLine(fileFor(now), line);
}

} // namespace kestrova
