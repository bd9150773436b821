#include "link/Frames.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

struct CrcRow {
    const char* name;
    Bytes bytes;
    std::uint8_t crc;
};

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
