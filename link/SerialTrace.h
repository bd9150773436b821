// The serial trace, the comms thread's developer trace: written only while the marker file
// "Rs232.txt" is in the program directory (looked for at every line, so it can be switched on
// and off while the program runs), to "Rs" + session number + ".txt", each line the pass
// number of the session loop, " ,, " and the text. A text equal to the last one written is
// not written again. Standard library only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace kestrova {

class SerialTrace {
public:
    SerialTrace(std::filesystem::path programDir, std::string sessionNumber);

    void TraceSerial(std::uint64_t pass, const std::string& text);

private:
    std::filesystem::path programDir_;
    std::string fileName_;
    std::string last_;
};

} // namespace kestrova
