#include "sim/BatonFile.h"

#include "core/TextFile.h"

#include <gtest/gtest.h>

namespace kestrova::sim {
namespace {

const LocalDateTime kNow{2025, 3, 14, 10, 0, 0, 0};

TEST(BatonFile, ReadsEveryItemAndWritesTheSameForm) {
    const std::string text = "# a baton\n"
                             "name KesC42\n"
                             "version 27 16\n"
                             "\n"
                             "clock 2025-01-05 08:30:15\n"
                             "delay 3\n"
                             "chip 14\n"
                             "A1 B2 C3 03 14 09 30\n"
                             "chip 0\n"
                             "01 02 03 12 31 23 59\n";
    const SimBaton baton = parseBatonFile(text, kNow);
    EXPECT_EQ("KesC42  ", baton.name);
    EXPECT_EQ((std::array<std::uint8_t, 2>{0x27, 0x16}), baton.version);
    EXPECT_EQ((LocalDateTime{2025, 1, 5, 8, 30, 15, 0}), baton.clock);
    EXPECT_EQ(3, baton.delay);
    ASSERT_EQ(1U, baton.clockings(14).size());
    EXPECT_EQ((RecordData{0xA1, 0xB2, 0xC3, 0x03, 0x14, 0x09, 0x30}), baton.clockings(14)[0]);
    EXPECT_EQ(headerRecord(), baton.chips.at(14)[0]);
    EXPECT_EQ(1U, baton.clockings(0).size());
    const SimBaton again = parseBatonFile(formatBatonFile(baton), kNow);
    EXPECT_EQ(baton.name, again.name);
    EXPECT_EQ(baton.clock, again.clock);
    EXPECT_EQ(baton.clockings(14), again.clockings(14));
    EXPECT_EQ(baton.clockings(0), again.clockings(0));
}

TEST(BatonFile, DefaultsAndAnUnsetClock) {
    EXPECT_EQ(kNow, parseBatonFile("name KEST0001\n", kNow).clock);
    EXPECT_FALSE(parseBatonFile("clock unset\n", kNow).clock);
    EXPECT_EQ("clock unset", splitLines(formatBatonFile(parseBatonFile("clock unset\n", kNow)))[2]);
}

TEST(BatonFile, MistakesNameTheirLine) {
    for (const std::string bad :
         {"chip 14\nA1 B2 C3\n", "A1 B2 C3 03 14 09 30\n", "chip 13\n", "version 2720\n",
          "clock 2025-02-30 10:00:00\n", "name TOOLONGNAME\n", "colour blue\n"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(parseBatonFile(bad, kNow), BatonFileError);
    }
    try {
        parseBatonFile("# ok\nname A\nversion zz 00\n", kNow);
        FAIL();
    } catch (const BatonFileError& error) {
        EXPECT_EQ(0, std::string(error.what()).rfind("line 3:", 0));
    }
}

} // namespace
} // namespace kestrova::sim
