// The unattended copies after a processed upload: each site's PDF and its clockings as CSV in
// the report copy folder, named by site, date and time; a folder that cannot be written is
// reported once and leaves the upload's own files complete.
#include "processing/ReportCopies.h"

#include "processing/ProcessUpload.h"
#include "processing/tests/ProcessingFixture.h"

namespace kestrova {
namespace {

using testing::clocking;
using testing::readFile;

class ReportCopies : public testing::ProcessingTest {
protected:
    void SetUp() override {
        site("Gate", {"A1B2C3 = Front, \"main\" gate", "A1B2C4 # -- Back --"});
        site("Yard", {"B1B2C3 = Yard"});
        loadSites();
    }
    ProcessResult process() {
        return ProcessUpload(services, upload({"Id : 0042", clocking("A1B2C3", "2403051407"),
                                               clocking("A1B2C4", "240305" + std::string("8908")),
                                               clocking("B1B2C3", "2403051410"), "Done"}));
    }
};

TEST_F(ReportCopies, EachSitesPdfAndCsvInTheFolder) {
    context.settings.update([](Settings& s) { s.reportCopyFolder = "copies"; });
    const ProcessResult result = process();
    const auto folder = dir / "copies";
    const std::vector<std::filesystem::path> expected = {
        folder / "Gate_clockings_2024-03-05_1407.pdf",
        folder / "Gate_clockings_2024-03-05_1407.csv",
        folder / "Yard_clockings_2024-03-05_1407.pdf",
        folder / "Yard_clockings_2024-03-05_1407.csv"};
    EXPECT_EQ(result.copies, expected);
    EXPECT_EQ(readFile(expected[0]), readFile(dir / "Gate" / "03051407.pdf"));
    EXPECT_EQ(readFile(expected[1]),
              "\xEF\xBB\xBF"
              "Date,Time,Site,Checkpoint Id,Location\r\n"
              "2024-03-05,14:07:00,Gate,A1B2C3,\"Front, \"\"main\"\" gate\"\r\n"
              "2024-03-05,09:08:00,Gate,A1B2C4,'-- Back --\r\n");
    EXPECT_TRUE(desk.dialogs.errors.empty());
}

TEST_F(ReportCopies, NoFolderNoCopies) {
    const ProcessResult result = process();
    EXPECT_TRUE(result.copies.empty());
    EXPECT_EQ(result.reports.size(), 4u);
}

TEST_F(ReportCopies, AFolderThatCannotBeWrittenIsReportedAndTheReportsStay) {
    testing::writeFile(dir / "blocked", "a file, not a folder");
    context.settings.update([](Settings& s) { s.reportCopyFolder = "blocked"; });
    const ProcessResult result = process();
    EXPECT_TRUE(result.copies.empty());
    ASSERT_EQ(desk.dialogs.errors.size(), 1u);
    EXPECT_NE(desk.dialogs.errors[0].find("blocked"), std::string::npos) << desk.dialogs.errors[0];
    EXPECT_EQ(result.reports.size(), 4u);
    for (const auto& report : result.reports)
        EXPECT_TRUE(std::filesystem::exists(report)) << report;
}

TEST(ClockingCsv, RowsOfReadableClockingsOnly) {
    MessageTable messages;
    messages.SetDefaultMessages();
    const LocationNames names = {{"A1B2C3", "Gate"}};
    const Lines clockings = {
        "000000A1B2C32403051407",  // ordinary
        "000000A1B2C324030549071", // angle mark on hour 09, packet number after
        "000000FFFFFF2403051407",  // not named by any list
        "0000001234562403051485",  // special record (minute byte above 127)
        "000000A1B2C3240305140",   // too short
        "000000A1B2C32413051407",  // month 13
    };
    const std::vector<CsvRow> expected = {
        {"2024-03-05", "14:07:00", "Gate", "A1B2C3", "Gate"},
        {"2024-03-05", "09:07:00", "Gate", "A1B2C3", "Gate"},
        {"2024-03-05", "14:07:00", "Gate", "FFFFFF", "Unknown checkpoint"},
    };
    EXPECT_EQ(clockingCsvRows("Gate", clockings, names, messages), expected);
}

} // namespace
} // namespace kestrova
