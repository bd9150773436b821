// The serial trace, the comms thread's developer trace: written only while the marker file
// "Rs232.txt" is in the program directory (looked for again whenever a fifth of a second has
// passed, so it can be switched on and off while the program runs without a directory search
// for each of the thousands of lines a download traces), to "Rs" + session number + ".txt", each
// line the pass number of the session loop, " ,, " and the text. A text equal to the last one
// written is not written again. Standard library only.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kestrova {

class SerialTrace {
public:
    SerialTrace(std::filesystem::path programDir, std::string sessionNumber);

    void TraceSerial(std::uint64_t pass, const std::string& text);
    // Whether lines are written at the moment, so that callers can skip building them.
    bool enabled();

private:
    std::filesystem::path programDir_;
    std::string fileName_;
    std::string last_;
    bool markerSeen_ = false;
    std::optional<std::chrono::steady_clock::time_point> markerChecked_;
};

} // namespace kestrova
