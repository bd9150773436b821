// The site, checkpoint list and schedule commands, on small program directories.
#include "cli/tests/CliRun.h"
#include "core/CheckpointList.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::readFile;
using testing::Result;
using testing::runCli;
using testing::TempDir;
using testing::writeFile;
namespace fs = std::filesystem;

const std::string kSchedule = "Round Time  = 020\r\nRest Time   = 010\r\nNum Batons  = 1\r\n"
                              "FP Type     = 1\r\nST Mon      = 06h30\r\nFT Mon      = 18h00\r\n"
                              "ST Tue      = 07h00\r\n";

struct CliSiteCommands : ::testing::Test {
    CliSiteCommands() {
        fs::create_directories(dir / "Gate" / "Raw");
        writeFile(dir / "Gate" / "checkpt.lst", "//Checkpoint list for Gate\r\n\r\n"
                                                "A1B201 = Main entrance\r\n"
                                                "A1B202 # Car park\r\n\r\n" +
                                                    kSchedule);
    }
    Result run(std::vector<std::string> args) {
        args.insert(args.begin(), {"-C", dir.path().string(), "--now", "2026-03-14 08:00:00"});
        return runCli(dir, args);
    }
    TempDir dir;
};

TEST_F(CliSiteCommands, CheckpointsPrintsTheRowsAsTheEditorLoadsThem) {
    const Result r = run({"checkpoints", "gate"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\tA1B201\t=\tMain entrance\n2\tA1B202\t#\tCar park\n");
}

TEST_F(CliSiteCommands, CheckpointsOfASiteWithoutAListCreatesTheEditorsEmptyList) {
    fs::create_directory(dir / "Yard");
    const Result r = run({"checkpoints", "Yard"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readFile(dir / "Yard" / "checkpt.lst"),
              "//Checkpoint list for Yard\r\n\r\n\r\n//End of File\r\n");
}

TEST_F(CliSiteCommands, CheckpointsPrintWritesTheList) {
    const Result r = run({"checkpoints", "Gate", "--print"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "List.txt\n");
    const std::string list = readFile(dir / "List.txt");
    EXPECT_EQ(list.rfind("\r\n     Check Point List for  Gate\r\n", 0), 0u) << list;
    EXPECT_NE(list.find("  | A1B202 |\r\n  |        | Car park\r\n"), std::string::npos);
}

TEST_F(CliSiteCommands, AnUnknownSiteFails) {
    const Result r = run({"checkpoints", "Nowhere"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("There is no site \"Nowhere\""), std::string::npos) << r.err;
}

TEST_F(CliSiteCommands, ScheduleShowsTheChecksAndAutoCorrectSavesTheResult) {
    Result r = run({"schedule", "Gate"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "round\t020\tred\n"
                     "rest\t010\tred\n"
                     "batons\t1\tok\n"
                     "type\tSingle Baton\tok\n"
                     "start Mon\t06h30\tok\n"
                     "start Tue\t07h00\tred\n"
                     "start Wed\t00h00\tred\n"
                     "start Thu\t00h00\tred\n"
                     "start Fri\t00h00\tred\n"
                     "start Sat\t00h00\tred\n"
                     "start Sun\t00h00\tred\n"
                     "finish Mon\t18h00\tok\n"
                     "finish Tue\t00h00\tred\n"
                     "finish Wed\t00h00\tred\n"
                     "finish Thu\t00h00\tred\n"
                     "finish Fri\t00h00\tred\n"
                     "finish Sat\t00h00\tred\n"
                     "finish Sun\t00h00\tred\n"
                     "warning shown\n"
                     "autocorrect shown\n"
                     "program enabled\n");
    r = run({"schedule", "Gate", "--autocorrect"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("round\t030\tok\nrest\t000\tok\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("start Sun\t06h00\tok\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("warning hidden\nautocorrect hidden\nprogram enabled\n"),
              std::string::npos)
        << r.out;
    const auto stored = LoadCheckpointList(dir.path(), "Gate");
    EXPECT_EQ(stored.schedule[kRoundTime], "030");
    EXPECT_EQ(stored.schedule[kFirstDayTime + 13], "18h00");
    EXPECT_EQ(stored.checkpoints.size(), 2u);
}

TEST_F(CliSiteCommands, SiteAddCreatesTheSiteAndTheOlderSitesMissingPieces) {
    fs::remove_all(dir / "Gate" / "Raw");
    fs::create_directory(dir / "Old");
    Result r = run({"site", "add", "New Yard"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_directory(dir / "New Yard" / "Raw"));
    EXPECT_TRUE(fs::is_directory(dir / "Gate" / "Raw"));
    EXPECT_EQ(readFile(dir / "Old" / "checkpt.lst"),
              "//Checkpoint list for Kestrova\r\n\r\n\r\n//End of file\r\n");
    EXPECT_NE(readFile(dir / "LG202603.txt").find("\"New Yard\",\"New Site created\""),
              std::string::npos);
    for (const std::string name : {"gate", "bad/name", ""}) {
        r = run({"site", "add", name});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.err, "Could Not Create the new site " + name + "\n");
    }
}

TEST(CliProgramFailedPatrol, TheSimulatedBatonIsErasedAndWrittenWithTheSchedule) {
    TempDir dir;
    fs::copy(fs::path(KESTROVA_SOURCE_DIR) / "demo", dir.path(), fs::copy_options::recursive);
    // A single-baton schedule for North Gate's three checkpoints: 4 + 2 + 3 records.
    auto list = LoadCheckpointList(dir.path(), "North Gate");
    list.schedule[kFailedPatrolType] = "1";
    list.schedule[kRoundTime] = "060";
    list.schedule[kFirstDayTime] = "02h00";
    list.schedule[kFirstDayTime + 1] = "03h00";
    SaveCheckpointList(dir.path(), "North Gate", list.checkpoints, list.schedule);
    const Result r =
        runCli(dir, {"-C", dir.path().string(), "--now", "2026-03-14 08:00:00", "upload",
                     "--simulate", (dir / "demo-baton.txt").string(), "--program-fp", "North Gate",
                     "--baton-after", (dir / "after.txt").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Writing to Baton\n"), std::string::npos) << r.out;
    // Stamped 13 April 2026 08:00: month 04, year remainder 2 over day 13, hour 08, minute 00.
    std::string records;
    for (const auto& [id, copies] : {std::pair{"A1 B2 01", 4}, {"A1 B2 02", 2}, {"A1 B2 03", 3}})
        for (int i = 0; i < copies; ++i)
            records += std::string(id) + " 04 93 08 00\n";
    const std::string after = readFile(dir / "after.txt");
    EXPECT_NE(after.find("chip 0\n" + records), std::string::npos) << after;
    EXPECT_NE(readFile(dir / "LG202603.txt")
                  .find("FPType:Single Baton RT:060 ST:02h00 FT:03h00 TT:010 B:1"),
              std::string::npos);
}

TEST(CliProgramFailedPatrol, ASiteWithoutAListIsRefusedBeforeTheUpload) {
    TempDir dir;
    fs::create_directory(dir / "Empty");
    writeFile(dir / "baton.txt", "name KEST0001\n");
    const Result r = runCli(dir, {"-C", dir.path().string(), "upload", "--simulate",
                                  (dir / "baton.txt").string(), "--program-fp", "Nowhere"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "There are no checkpoints in the site \"Nowhere\"\n");
}

} // namespace
} // namespace kestrova
