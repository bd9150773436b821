#include "core/AdminLog.h"
#include "core/TraceLog.h"
#include "core/testing/FakeDesktop.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::FakeClock;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

TEST(AdminLog, FirstEntryOfAMonthCreatesTheFileLaterOnesAppend) {
    TempDir dir;
    FakeClock clock;
    AdminLog log(dir.path(), clock);
    log.WriteAdminLog("Main Gate", "New Site created");
    clock.time = {2024, 3, 31, 23, 59, 1};
    log.WriteAdminLog("unknown", "Raw.txt imported");
    clock.time = {2024, 4, 1, 0, 0, 0};
    log.WriteAdminLog("All", "x");
    EXPECT_EQ(readFile(dir / "LG202403.txt"),
              "\"2024/03/05 14:07.09\",\"Main Gate\",\"New Site created\"\r\n"
              "\"2024/03/31 23:59.01\",\"unknown\",\"Raw.txt imported\"\r\n");
    EXPECT_EQ(readFile(dir / "LG202404.txt"), "\"2024/04/01 00:00.00\",\"All\",\"x\"\r\n");
}

struct Recorder : TraceView {
    void appendTraceLine(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

TEST(TraceLog, ViewGetsEveryLineFileOnlyWithTheMarker) {
    TempDir dir;
    FakeClock clock;
    Recorder view;
    TraceLog trace(dir.path(), "159712345", clock, &view);
    clock.ticks = 0xABC;
    trace.WriteTrace("form activated");
    EXPECT_FALSE(std::filesystem::exists(dir / "RsM159712345.txt"));
    writeFile(dir / "rs232.TXT", "");
    clock.ticks = 0x12345678;
    trace.WriteTrace("setup compleated");
    EXPECT_EQ(view.lines,
              (std::vector<std::string>{"000ABC form activated", "12345678 setup compleated"}));
    EXPECT_EQ(readFile(dir / "RsM159712345.txt"), "12345678 setup compleated\r\n");
}

TEST(SessionNumber, IsSerialDateTimes3600Rounded) {
    // 1 January 2024 is day 45292 after 30 December 1899; noon adds half a day.
    EXPECT_EQ(sessionNumberAt({2024, 1, 1, 12, 0, 0}), std::to_string(45292 * 3600 + 1800));
    // It changes every 24 seconds of wall time.
    EXPECT_EQ(sessionNumberAt({2024, 1, 1, 0, 0, 11}), sessionNumberAt({2024, 1, 1, 0, 0, 0}));
    EXPECT_NE(sessionNumberAt({2024, 1, 1, 0, 0, 13}), sessionNumberAt({2024, 1, 1, 0, 0, 0}));
}

} // namespace
} // namespace kestrova
