// The simulated baton's memory helpers.
#include "sim/SimBaton.h"

namespace kestrova::sim {

MemoryRecord clockingRecord(const RecordData& data) {
    MemoryRecord record{};
    std::copy(data.begin(), data.end(), record.begin());
    record[7] = Crc8(ByteView(data.data(), data.size()));
    return record;
}

MemoryRecord headerRecord() {
    return clockingRecord({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
}

std::vector<RecordData> SimBaton::clockings(int chip) const {
    std::vector<RecordData> result;
    const auto found = chips.find(chip);
    if (found == chips.end())
        return result;
    for (std::size_t i = 1; i < found->second.size(); ++i) {
        RecordData data{};
        std::copy(found->second[i].begin(), found->second[i].begin() + 7, data.begin());
        result.push_back(data);
    }
    return result;
}

void SimBaton::addClocking(int chip, const RecordData& data) {
    auto& records = chips[chip];
    if (records.empty())
        records.push_back(headerRecord());
    records.push_back(clockingRecord(data));
}

std::array<std::uint8_t, 8> SimBaton::nameBytes() const {
    std::array<std::uint8_t, 8> bytes{};
    bytes.fill(' ');
    for (std::size_t i = 0; i < bytes.size() && i < name.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(name[i]);
    return bytes;
}

} // namespace kestrova::sim
