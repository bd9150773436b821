#include "link/Frames.h"

#include <gtest/gtest.h>
#include <ostream>

namespace kestrova {
namespace {

struct CrcRow {
    const char* name;
    Bytes bytes;
    std::uint8_t crc;
};

void PrintTo(const CrcRow& row, std::ostream* out) {
    *out << row.name;
}

class Crc8Test : public ::testing::TestWithParam<CrcRow> {};

TEST_P(Crc8Test, MatchesTheOneWireCheck) {
    EXPECT_EQ(GetParam().crc, Crc8(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Frames, Crc8Test,
    ::testing::Values(CrcRow{"Empty", {}, 0x00}, CrcRow{"GetInfo", {0x01}, 0x5E},
                      CrcRow{"ReadClock", {0x03}, 0xE2}, CrcRow{"ReadSeconds", {0x33}, 0x5C},
                      CrcRow{"ReadNext", {0x0D}, 0xFD},
                      CrcRow{"CheckString", {'1', '2', '3', '4', '5', '6', '7', '8', '9'}, 0xA1},
                      CrcRow{"SyncEchoPair", {0x55, 0x55}, 0x6C}),
    [](const ::testing::TestParamInfo<CrcRow>& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrova

namespace kestrova {
namespace {

TEST(Frames, SetClockCarriesBcdFieldsAndTheWeekday) {
    // Sunday 5 January 2025, 08:30:15.
    const Bytes frame = SetClockBcdFrame({2025, 1, 5, 8, 30, 15, 0});
    const Bytes body{0x05, 0x20, 0x25, 0x01, 0x05, 0x08, 0x30, 0x15, 0x00};
    EXPECT_EQ(body, Bytes(frame.begin(), frame.end() - 1));
    EXPECT_EQ(Crc8(body), frame.back());
}

TEST(Frames, WriteRecordCarriesTheRecordCheckThenTheFrameCheck) {
    const Bytes frame = WriteRecordFrame({0x12, 0x34, 0x56, 0x01, 0x45, 0x08, 0x30});
    ASSERT_EQ(10U, frame.size());
    EXPECT_EQ(Crc8(Bytes{0x0F, 0x12, 0x34, 0x56, 0x01, 0x45, 0x08, 0x30}), frame[8]);
    EXPECT_EQ(Crc8(ByteView(frame.data(), 9)), frame[9]);
}

TEST(Frames, FixedAndAddressedFrames) {
    EXPECT_EQ((Bytes{0x01, 0x5E}), GetInfoFrame());
    EXPECT_EQ((Bytes{0x03, 0xE2}), ReadClockFrame(false));
    EXPECT_EQ((Bytes{0x33, 0x5C}), ReadClockFrame(true));
    EXPECT_EQ((Bytes{0x0D, 0xFD}), ReadNextFrame());
    EXPECT_EQ(withCheck({0x0B, 0x00, 0x00, 0x08, 0x08}), SetPointerFrame(0, 8));
    EXPECT_EQ(withCheck({0x0B, 0x0E, 0x80, 0x18, 0x08}), SetPointerFrame(14, 0x8018));
    EXPECT_EQ(withCheck({0x11, 0x00, 0x00, 0x20}), SetEndFrame(0, 32));
    EXPECT_EQ(withCheck({0x07, '0', '0', '4', '2'}), SetIdFrame("0042"));
    EXPECT_EQ(withCheck({0x07, '0', '0', '4', '2'}), SetIdFrame("42"));
}

TEST(Frames, TheSecondsClockReadsBackWhatWasSent) {
    EXPECT_EQ(1U, clockValueFor({1970, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ((LocalDateTime{1969, 12, 31, 23, 59, 59, 0}), timeOfClockValue(0));
    const LocalDateTime t{2025, 3, 14, 10, 20, 30, 0};
    EXPECT_EQ(t, timeOfClockValue(static_cast<std::int32_t>(clockValueFor(t))));
    const Bytes frame = SetClockSecondsFrame(t);
    const std::uint32_t value = clockValueFor(t);
    EXPECT_EQ((Bytes{0x35, static_cast<std::uint8_t>(value & 0xFF),
                     static_cast<std::uint8_t>((value >> 8U) & 0xFF),
                     static_cast<std::uint8_t>((value >> 16U) & 0xFF),
                     static_cast<std::uint8_t>(value >> 24U)}),
              Bytes(frame.begin(), frame.end() - 1));
}

} // namespace
} // namespace kestrova
