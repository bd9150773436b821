// The check byte of every baton frame and memory record: the Dallas/Maxim 1-Wire CRC-8
// (x^8 + x^5 + x^4 + 1, least significant bit first, initial value 0, no final inversion).
// Standard library only.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kestrova {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

std::uint8_t Crc8(ByteView bytes);
std::uint8_t Crc8(std::string_view text);

} // namespace kestrova
