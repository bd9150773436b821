// Building the command frames and converting the seconds clock.
#include "link/Frames.h"

#include <cstdio>

namespace kestrova {

namespace {

// The seconds clock counts from one second before 1970-01-01 00:00:00, as 1899-12-30 based
// seconds less this offset; reading back uses the same offset, so a value shows what was sent.
constexpr std::int64_t kClockOffset = 2209161599;

// Days from 1899-12-30 to a civil date (proleptic Gregorian).
std::int64_t daysSince1899(int year, int month, int day) {
    const auto civil = [](std::int64_t y, std::int64_t m, std::int64_t d) {
        y -= m <= 2 ? 1 : 0;
        const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
        const std::int64_t yoe = y - era * 400;
        const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return era * 146097 + doe - 719468; // days since 1970-01-01
    };
    return civil(year, month, day) - civil(1899, 12, 30);
}

std::uint8_t byteOf(std::int64_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace

Bytes withCheck(Bytes frame) {
    frame.push_back(Crc8(frame));
    return frame;
}

Bytes GetInfoFrame() {
    return withCheck({code::kGetInfo});
}

Bytes ReadClockFrame(bool secondsClock) {
    return withCheck({secondsClock ? code::kReadClockSeconds : code::kReadClockBcd});
}

std::uint8_t toBcd(int value) {
    return static_cast<std::uint8_t>(((value / 10) % 10) * 16 + value % 10);
}

Bytes SetClockBcdFrame(const LocalDateTime& now) {
    const int weekday = isoDayOfWeek(now.year, now.month, now.day) % 7; // Sunday 0
    return withCheck({code::kSetClockBcd, toBcd(now.year / 100), toBcd(now.year % 100),
                      toBcd(now.month), toBcd(now.day), toBcd(now.hour), toBcd(now.minute),
                      toBcd(now.second), toBcd(weekday)});
}

Bytes SetClockSecondsFrame(const LocalDateTime& now) {
    const std::uint32_t value = clockValueFor(now);
    return withCheck({code::kSetClockSeconds, byteOf(value), byteOf(value >> 8U),
                      byteOf(value >> 16U), byteOf(value >> 24U)});
}

Bytes SetIdFrame(std::string_view id) {
    std::string four(id.substr(0, 4));
    four.insert(0, 4 - four.size(), '0');
    Bytes frame{code::kSetId};
    for (const char c : four)
        frame.push_back(static_cast<std::uint8_t>(c));
    return withCheck(std::move(frame));
}

Bytes GetSizeFrame(std::uint8_t chip) {
    return withCheck({code::kGetSize, chip});
}

Bytes SetPointerFrame(std::uint8_t chip, std::uint16_t address) {
    return withCheck({code::kSetPointer, chip, byteOf(address >> 8U), byteOf(address), 8});
}

Bytes ReadNextFrame() {
    return withCheck({code::kReadNext});
}

Bytes WriteRecordFrame(const RecordData& data) {
    Bytes frame{code::kWriteRecord};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(Crc8(frame)); // the record's own check byte, stored in the baton
    return withCheck(std::move(frame));
}

Bytes SetEndFrame(std::uint8_t chip, std::uint16_t endAddress) {
    return withCheck({code::kSetEnd, chip, byteOf(endAddress >> 8U), byteOf(endAddress)});
}

std::string hexByte(std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[byte >> 4U], kDigits[byte & 0x0FU]};
}

std::string hexBytes(ByteView bytes) {
    std::string text;
    for (const std::uint8_t byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += hexByte(byte);
    }
    return text;
}

std::uint32_t clockValueFor(const LocalDateTime& now) {
    const std::int64_t seconds = daysSince1899(now.year, now.month, now.day) * 86400 +
                                 now.hour * 3600 + now.minute * 60 + now.second;
    return static_cast<std::uint32_t>((seconds - kClockOffset) & 0xFFFFFFFF);
}

LocalDateTime timeOfClockValue(std::int32_t value) {
    return addSeconds(LocalDateTime{1899, 12, 30, 0, 0, 0, 0},
                      static_cast<std::int64_t>(value) + kClockOffset);
}

} // namespace kestrova
