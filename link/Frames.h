// The command frames the PC sends to the baton through the upload station, and the baton's
// clock value. Every frame is the code, a payload of fixed length and the Crc8 of the bytes
// before it:
//
//   01 5E                     Get Info            03 E2 / 33 5C    Read Clock (BCD / seconds)
//   05 cc yy mm dd hh nn ss w ck  Set Clock, BCD fields, weekday 0 = Sunday
//   35 v0 v1 v2 v3 ck         Set Clock, seconds clock value, little-endian
//   07 i1 i2 i3 i4 ck         Set Id, four ASCII characters
//   09 chip ck                Get Size            0D FD            Read Next
//   0B chip ah al 08 ck       Set Pointer, record address big-endian, record length 8
//   0F d1 .. d7 rc ck         Write Record, rc = Crc8(0F d1 .. d7)
//   11 chip ah al ck          Set End, end address big-endian
//
// Standard library only.
#pragma once

#include "core/DateTime.h"
#include "link/Crc8.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

namespace code {
inline constexpr std::uint8_t kGetInfo = 0x01;
inline constexpr std::uint8_t kInfo = 0x02;
inline constexpr std::uint8_t kReadClockBcd = 0x03;
inline constexpr std::uint8_t kClockBcd = 0x04;
inline constexpr std::uint8_t kSetClockBcd = 0x05;
inline constexpr std::uint8_t kSetClockBcdStatus = 0x06;
inline constexpr std::uint8_t kSetId = 0x07;
inline constexpr std::uint8_t kSetIdStatus = 0x08;
inline constexpr std::uint8_t kGetSize = 0x09;
inline constexpr std::uint8_t kSize = 0x0A;
inline constexpr std::uint8_t kSetPointer = 0x0B;
inline constexpr std::uint8_t kSetPointerStatus = 0x0C;
inline constexpr std::uint8_t kReadNext = 0x0D;
inline constexpr std::uint8_t kRecord = 0x0E;
inline constexpr std::uint8_t kWriteRecord = 0x0F;
inline constexpr std::uint8_t kWriteRecordStatus = 0x10;
inline constexpr std::uint8_t kSetEnd = 0x11;
inline constexpr std::uint8_t kSetEndStatus = 0x12;
inline constexpr std::uint8_t kVoltage = 0x22;
inline constexpr std::uint8_t kIdButton = 0x24;
inline constexpr std::uint8_t kButtonTime = 0x26;
inline constexpr std::uint8_t kCharge = 0x28;
inline constexpr std::uint8_t kReadClockSeconds = 0x33;
inline constexpr std::uint8_t kClockSeconds = 0x34;
inline constexpr std::uint8_t kSetClockSeconds = 0x35;
inline constexpr std::uint8_t kSetClockSecondsStatus = 0x36;
inline constexpr std::uint8_t kSync = 0x55;
inline constexpr std::uint8_t kReset = 0x81;
} // namespace code

// The announcement the station sends when a baton is put down.
inline constexpr std::array<std::uint8_t, 2> kBatonAnnouncement{0x01, 0x0D};
// Sent in answer to an announcement.
inline constexpr std::string_view kSyncBurst = "UUUUUUUUUUUUUUUUUUUU";
// The station search's probe text.
inline constexpr std::string_view kProbeText = "Emty";

// Data bytes 1-7 of a memory record (the eighth byte is its check byte).
using RecordData = std::array<std::uint8_t, 7>;

// A frame with its check byte appended.
Bytes withCheck(Bytes frame);

Bytes GetInfoFrame();
Bytes ReadClockFrame(bool secondsClock);
Bytes SetClockBcdFrame(const LocalDateTime& now);
Bytes SetClockSecondsFrame(const LocalDateTime& now);
// The first four characters of the id; a shorter id is filled with leading zeros.
Bytes SetIdFrame(std::string_view id);
Bytes GetSizeFrame(std::uint8_t chip);
Bytes SetPointerFrame(std::uint8_t chip, std::uint16_t address);
Bytes ReadNextFrame();
Bytes WriteRecordFrame(const RecordData& data);
Bytes SetEndFrame(std::uint8_t chip, std::uint16_t endAddress);

// A byte that holds a value 0 … 99 as two BCD digits.
std::uint8_t toBcd(int value);
// The two hexadecimal digits of a byte, which for BCD bytes are its decimal digits.
std::string hexByte(std::uint8_t byte);
// Bytes as "01 5E 03" (trace form).
std::string hexBytes(ByteView bytes);

// The seconds clock: seconds of local time from 1899-12-30 00:00:00, less 2209161599.
std::uint32_t clockValueFor(const LocalDateTime& now);
LocalDateTime timeOfClockValue(std::int32_t value);

} // namespace kestrova
