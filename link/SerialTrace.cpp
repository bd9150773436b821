// Writing the serial trace.
#include "link/SerialTrace.h"

#include "core/FileNames.h"
#include "core/TextFile.h"

namespace kestrova {

SerialTrace::SerialTrace(std::filesystem::path programDir, std::string sessionNumber)
    : programDir_(std::move(programDir)), fileName_("Rs" + sessionNumber + ".txt") {}

bool SerialTrace::enabled() {
    const auto now = std::chrono::steady_clock::now();
    if (!markerChecked_ || now - *markerChecked_ > std::chrono::milliseconds(200)) {
        markerSeen_ = fileExists(resolveInDirectory(programDir_, "Rs232.txt"));
        markerChecked_ = now;
    }
    return markerSeen_;
}

void SerialTrace::TraceSerial(std::uint64_t pass, const std::string& text) {
    if (text == last_ || !enabled())
        return;
    appendLine(resolveInDirectory(programDir_, fileName_), std::to_string(pass) + " ,, " + text);
    last_ = text;
}

} // namespace kestrova
