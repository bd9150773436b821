// Every reader of a checkpoint list on any bytes as a site's "checkpt.lst", then an append of
// an unknown checkpoint, after which the index reader must still find every id it found before.
#include "core/CheckpointList.h"
#include "core/Errors.h"
#include "core/TextFile.h"
#include "fuzz/FuzzSupport.h"
#include "processing/LocationBook.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrova;
    const auto& dir = fuzz::scratchDirectory();
    std::filesystem::create_directories(dir / "Site");
    fuzz::writeBytes(dir / "Site" / "checkpt.lst", data, size);

    const CheckpointListContents contents = LoadCheckpointList(dir, "Site");
    const ScheduleValues values = normaliseSchedule(contents.schedule);
    try {
        failedPatrolTypeIndex(values);
    } catch (const ConversionError&) {
        // A type whose first character is not a digit: the user is told.
    }
    const auto lines = readLines(checkpointListPath(dir, "Site"));
    readCheckpointSection(lines);
    readLocationList(lines);
    const auto before = ReadCheckpointIds(dir, "Site");

    AppendCheckpoint(dir, "Site", "F0F0F0", "9 Unknown checkpoint");
    const auto after = ReadCheckpointIds(dir, "Site");
    for (const auto& id : before) {
        if (std::count(after.begin(), after.end(), id) <
            std::count(before.begin(), before.end(), id))
            std::abort();
    }
    return 0;
}
