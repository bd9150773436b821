// CRC-8 of the baton protocol, bit by bit: frames are at most eleven bytes, so a table would
// buy nothing.
#include "link/Crc8.h"

namespace kestrova {

namespace {

std::uint8_t crcStep(std::uint8_t crc, std::uint8_t byte) {
    for (int bit = 0; bit < 8; ++bit) {
        const bool mix = ((crc ^ byte) & 1U) != 0;
        crc = static_cast<std::uint8_t>(crc >> 1U);
        if (mix)
            crc = static_cast<std::uint8_t>(crc ^ 0x8CU);
        byte = static_cast<std::uint8_t>(byte >> 1U);
    }
    return crc;
}

} // namespace

std::uint8_t Crc8(ByteView bytes) {
    std::uint8_t crc = 0;
    for (const std::uint8_t byte : bytes)
        crc = crcStep(crc, byte);
    return crc;
}

std::uint8_t Crc8(std::string_view text) {
    std::uint8_t crc = 0;
    for (const char c : text)
        crc = crcStep(crc, static_cast<std::uint8_t>(c));
    return crc;
}

} // namespace kestrova
