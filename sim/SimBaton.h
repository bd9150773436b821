// A simulated baton: its name and version, its clock (BCD or seconds kind by its name), its
// checkpoint delay, its id number and its memory chips of eight-byte records, each chip
// beginning with its header record at address 0. Standard library only.
#pragma once

#include "core/DateTime.h"
#include "link/Frames.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestrova::sim {

using MemoryRecord = std::array<std::uint8_t, 8>;

// A record as a baton stores a clocking: the seven data bytes and their Crc8.
MemoryRecord clockingRecord(const RecordData& data);
// The header record every chip holds at address 0.
MemoryRecord headerRecord();

struct SimBaton {
    std::string name = "KEST0001"; // eight ASCII bytes, padded with spaces
    std::array<std::uint8_t, 2> version{0x27, 0x20};
    std::optional<LocalDateTime> clock; // no value: never set
    std::uint8_t delay = 0;
    // Chip selector (14, 12, …, 0) to its records, header record first. A chip not listed
    // holds only its header record.
    std::map<int, std::vector<MemoryRecord>> chips;
    // A size to report instead of the true one (a chip that claims more than it holds).
    std::map<int, std::uint16_t> reportedSize;
    // A chip whose records from this index on (header = 0) never answer a read: a worn chip.
    std::map<int, std::size_t> unreadableFrom;
    bool refusesId = false;
    bool refusesClock = false;
    // A chip holding only its header reports its size with 0x80 in the high byte.
    bool emptyMark = false;
    // This many of the commands are refused (status 0) before the baton carries them out.
    int refuseSetPointer = 0;
    int refuseWriteRecord = 0;
    int refuseSetEnd = 0;
    // A voltage report (22) goes out ahead of the reply to the next command with this code.
    std::optional<std::uint8_t> voltageBefore;
    // The clocking records (after the header) of a chip.
    std::vector<RecordData> clockings(int chip) const;
    void addClocking(int chip, const RecordData& data);
    // The name as its eight bytes.
    std::array<std::uint8_t, 8> nameBytes() const;
};

} // namespace kestrova::sim
