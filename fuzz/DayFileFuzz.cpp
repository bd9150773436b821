// The day-file readers on any bytes: each line through the reports' reading of a day-file line
// (its time for a range, its clocking time), and the whole as an existing day file merged with
// two clockings of its date, after which every line the file had and both new ones must be in
// the merged file.
#include "core/TextFile.h"
#include "fuzz/FuzzSupport.h"
#include "processing/DayFiles.h"
#include "reports/DayFileReading.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrova;
    const auto site = fuzz::scratchDirectory() / "Site";
    std::filesystem::remove_all(site);
    std::filesystem::create_directories(site / "Raw");
    fuzz::writeBytes(site / "Raw" / "240305.txt", data, size);
    const Lines old = readLines(site / "Raw" / "240305.txt");
    for (const auto& line : old) {
        rangeLineTime(line);
        clockingTime(line);
    }

    const Lines bucket = {"000000A1B2C32403051407"
                          "1",
                          "000000A1B2C32403050000"
                          "2"};
    mergeIntoDayFiles(site, bucket);
    const Lines merged = readLines(site / "Raw" / "240305.txt");
    for (const auto& line : bucket) {
        if (std::find(merged.begin(), merged.end(), line.substr(0, 22)) == merged.end())
            std::abort();
    }
    for (const auto& line : old) {
        if (line.size() >= 22 &&
            std::find(merged.begin(), merged.end(), line.substr(0, 22)) == merged.end())
            std::abort();
    }
    return 0;
}
