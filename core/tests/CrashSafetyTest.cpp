// Every file the site data layer rewrites or appends to is old or new, and whole, whichever
// write fails and wherever the process ends.
#include "core/testing/CrashSafety.h"

#include "core/AdminLog.h"
#include "core/CheckpointList.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"

#include <gtest/gtest.h>
#include <set>

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using testing::writeFile;

const std::string kList = "//Checkpoint list for Gate\r\n\r\n"
                          "0000A1 = Front gate\r\n0000A2 # Back door\r\n\r\n"
                          "Round Time  = 015\r\n\r\n//End of File\r\n";

struct WriteCase {
    const char* name;
    std::function<void(const fs::path&)> setup;
    std::function<void(const fs::path&)> operation;
    std::set<std::string> appended; // files a crash may leave with a partial last line
};

void PrintTo(const WriteCase& row, std::ostream* out) {
    *out << row.name;
}

void withList(const fs::path& dir) {
    fs::create_directories(dir / "Gate" / "Raw");
    writeFile(dir / "Gate" / "checkpt.lst", kList);
}

class EveryWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(EveryWrite, LeavesTheOldOrTheNewFileWhole) {
    testing::expectEveryWriteStageLeavesOldOrNewFiles(GetParam().setup, GetParam().operation,
                                                      GetParam().appended);
}

INSTANTIATE_TEST_SUITE_P(
    SiteData, EveryWrite,
    ::testing::Values(
        WriteCase{"SetSetting",
                  [](const fs::path& dir) {
                      writeFile(dir / "Kestrova.ini",
                                "ReportHeader=Old\r\nCommPort=3\r\nAboutLine1=kept\r\n");
                  },
                  [](const fs::path& dir) { SettingsFile(dir).SetSetting("ReportHeader", "New"); },
                  {}},
        WriteCase{"SaveCheckpointList",
                  withList,
                  [](const fs::path& dir) {
                      ScheduleValues schedule;
                      schedule.fill("0");
                      SaveCheckpointList(dir, "Gate", {{"0000B1", '=', "Boiler room"}}, schedule);
                  },
                  {}},
        WriteCase{"AppendCheckpoint",
                  withList,
                  [](const fs::path& dir) {
                      AppendCheckpoint(dir, "Gate", "0000C1", "3 Unknown checkpoint");
                  },
                  {}},
        WriteCase{"AdminLogEntry",
                  [](const fs::path& dir) {
                      writeFile(dir / "LG202403.txt",
                                "\"2024/03/01 10:00.00\",\"Gate\",\"New Site created\"\r\n");
                  },
                  [](const fs::path& dir) {
                      testing::FakeClock clock;
                      AdminLog(dir, clock).WriteAdminLog("Gate", "Site Deleted");
                  },
                  {"LG202403.txt"}},
        WriteCase{"AppendedLineOfANewFile",
                  [](const fs::path&) {},
                  [](const fs::path& dir) { appendLine(dir / "new.txt", "first line"); },
                  {"new.txt"}}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrova
