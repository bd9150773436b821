// The largest baton the link benchmarks download: 8 memory chips (the even ones, highest first,
// as the baton reports them) of 4,099 records each. Standard library and the simulator only.
#pragma once

#include "sim/SimBaton.h"

#include <cstdint>

namespace kestrova::bench {

inline constexpr int kFullBatonChips = 8;
inline constexpr int kRecordsPerChip = 4099;

inline sim::SimBaton fullBaton() {
    sim::SimBaton baton;
    baton.clock = LocalDateTime{2025, 3, 14, 10, 0, 0, 0};
    for (int chip = 2 * kFullBatonChips - 2; chip >= 0; chip -= 2)
        for (int i = 0; i < kRecordsPerChip; ++i)
            baton.addClocking(chip, {0xA1, static_cast<std::uint8_t>(chip),
                                     static_cast<std::uint8_t>(i & 0xFF), 0x03, 0x14, 0x09,
                                     static_cast<std::uint8_t>(i % 60)});
    return baton;
}

} // namespace kestrova::bench
