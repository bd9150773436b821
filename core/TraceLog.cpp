#include "core/TraceLog.h"

#include "core/DateTime.h"
#include "core/Desktop.h"
#include "core/FileNames.h"
#include "core/TextFile.h"

#include <cmath>
#include <cstdio>

namespace kestrova {
namespace fs = std::filesystem;

namespace {
constexpr std::string_view kTraceMarker = "Rs232.txt";
}

std::string sessionNumberAt(const LocalDateTime& time) {
    const auto number = static_cast<long long>(std::llround(serialDate(time) * 3600.0));
    return std::to_string(number);
}

std::string tickText(std::uint64_t ticks) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%06llX", static_cast<unsigned long long>(ticks));
    return buffer;
}

TraceLog::TraceLog(fs::path programDir, std::string sessionNumber, const Clock& clock,
                   TraceView* view)
    : programDir_(std::move(programDir)), sessionNumber_(std::move(sessionNumber)), clock_(clock),
      view_(view) {}

void TraceLog::setView(TraceView* view) {
    const std::lock_guard lock(mutex_);
    view_ = view;
}

void TraceLog::WriteTrace(const std::string& text) {
    const std::string line = tickText(clock_.tickCount()) + " " + text;
    const std::lock_guard lock(mutex_);
    // The marker is looked for at every line, so tracing can be switched on while running.
    if (fileExists(resolveInDirectory(programDir_, kTraceMarker)))
        appendLine(resolveInDirectory(programDir_, "RsM" + sessionNumber_ + ".txt"), line);
    if (view_)
        view_->appendTraceLine(line);
}

} // namespace kestrova
