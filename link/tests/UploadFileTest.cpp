#include "link/UploadFile.h"

#include "core/testing/FakeDesktop.h"

#include <gtest/gtest.h>
#include <ostream>

namespace kestrova {
namespace {

struct LineRow {
    const char* name;
    RecordData data;
    std::int64_t packet;
    LocalDateTime now;
    const char* line;
};

void PrintTo(const LineRow& row, std::ostream* out) {
    *out << row.name;
}

class ClockingLineTest : public ::testing::TestWithParam<LineRow> {};

TEST_P(ClockingLineTest, FormsTheColumns) {
    const LineRow& row = GetParam();
    EXPECT_EQ(row.line, clockingLine(row.data, row.packet, row.now));
}

INSTANTIATE_TEST_SUITE_P(UploadFile, ClockingLineTest,
                         ::testing::Values(LineRow{"DecemberInJanuaryIsLastYear",
                                                   {0xA1, 0xB2, 0xC3, 0x12, 0x31, 0x23, 0x59},
                                                   1,
                                                   {2025, 1, 20, 0, 0, 0, 0},
                                                   "000000A1B2C32412312359"
                                                   "1"},
                                           LineRow{"JanuaryInJanuaryIsThisYear",
                                                   {0xA1, 0xB2, 0xC3, 0x01, 0x02, 0x08, 0x00},
                                                   2,
                                                   {2025, 1, 2, 0, 0, 0, 0},
                                                   "000000A1B2C325010208002"},
                                           LineRow{"EqualMonthKeepsTheYear",
                                                   {0x00, 0x00, 0x01, 0x05, 0x31, 0x10, 0x10},
                                                   9,
                                                   {2025, 5, 31, 0, 0, 0, 0},
                                                   "0000000000012505311010"
                                                   "9"},
                                           LineRow{"HighMonthBitsAreDropped",
                                                   {0x0A, 0x0B, 0x0C, 0x92, 0xC5, 0x07, 0x15},
                                                   3,
                                                   {2025, 6, 1, 0, 0, 0, 0},
                                                   "0000000A0B0C241205071"
                                                   "53"},
                                           LineRow{"MinuteMarkIsKept",
                                                   {0x0A, 0x0B, 0x0C, 0x03, 0x04, 0x07, 0x85},
                                                   10,
                                                   {2025, 6, 1, 0, 0, 0, 0},
                                                   "0000000A0B0C2503040785"
                                                   "10"},
                                           LineRow{"PacketHundredIsZero",
                                                   {0x0A, 0x0B, 0x0C, 0x03, 0x04, 0x07, 0x05},
                                                   100,
                                                   {2025, 6, 1, 0, 0, 0, 0},
                                                   "0000000A0B0C2503040705"
                                                   "0"},
                                           LineRow{"PacketHundredAndOneIsOne",
                                                   {0x0A, 0x0B, 0x0C, 0x03, 0x04, 0x07, 0x05},
                                                   101,
                                                   {2025, 6, 1, 0, 0, 0, 0},
                                                   "0000000A0B0C2503040705"
                                                   "1"}),
                         [](const ::testing::TestParamInfo<LineRow>& row) {
                             return std::string(row.param.name);
                         });

TEST(UploadFileTest, HeaderLinesAndTheBareDoneMarker) {
    testing::TempDir dir;
    testing::writeFile(dir / "raw.TXT", "old content\r\n");
    const auto file = startUploadFile(dir.path(), "Id : KEST0001");
    EXPECT_EQ(dir / "raw.TXT", file); // the existing spelling is kept
    appendClockingLine(file, "000000A1B2C325010208001");
    EXPECT_EQ("Id : KEST0001\r\n000000A1B2C325010208001\r\n", testing::readFile(file));
    writeBareDoneMarker(dir.path());
    EXPECT_EQ("Done", testing::readFile(file));
}

} // namespace
} // namespace kestrova
