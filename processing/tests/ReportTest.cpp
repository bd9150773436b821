#include "ProcessingFixture.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

std::size_t occurrencesOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class Report : public ProcessingTest {
protected:
    Report() {
        site("Alpha", {"0000A1 = Front gate", "0000A2 # Back door", "0000S1 = Shared post"});
        site("Beta", {"0000B1 = Boiler room", "0000S1 = Shared post B"});
        loadSites();
    }
    void process(Lines lines) {
        lines.insert(lines.begin(), "Id : BATON7");
        lines.emplace_back("Done");
        ProcessUpload(services, upload(lines));
    }
};

struct DuplicateCase {
    const char* name;
    bool removeDuplicates;
    const char* secondWhen;
    std::size_t reported;
};

void PrintTo(const DuplicateCase& row, std::ostream* out) {
    *out << row.name;
}

class Duplicates : public Report, public ::testing::WithParamInterface<DuplicateCase> {};

TEST_P(Duplicates, AreDroppedOnlyWithinAMinuteAndWhenSetTo) {
    context.settings.update(
        [&](Settings& s) { s.removeDuplicatePoints = GetParam().removeDuplicates; });
    context.settings.update([&](Settings& s) { s.generateFrequencyReport = false; });
    process({clocking("0000B1", "2403051405"), clocking("0000B1", GetParam().secondWhen)});
    EXPECT_EQ(occurrencesOf(report("Beta"), "(0000B1)   Boiler room"), GetParam().reported);
}

INSTANTIATE_TEST_SUITE_P(Minutes, Duplicates,
                         ::testing::Values(DuplicateCase{"SameMinute", true, "2403051405", 1},
                                           DuplicateCase{"NextMinute", true, "2403051406", 1},
                                           DuplicateCase{"TwoMinutesLater", true, "2403051407", 2},
                                           DuplicateCase{"OtherHour", true, "2403051505", 2},
                                           DuplicateCase{"KeptWhenOff", false, "2403051406", 2}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Report, ACheckpointOfSeveralSitesIsReportedByEachOfThem) {
    context.settings.update([&](Settings& s) { s.removeDuplicatePoints = true; });
    context.settings.update([&](Settings& s) { s.generateFrequencyReport = false; });
    process({clocking("0000S1", "2403051405"), clocking("0000S1", "2403051406")});
    EXPECT_EQ(occurrencesOf(report("Alpha"), "(0000S1)   Shared post\r\n"), 1u);
    EXPECT_EQ(occurrencesOf(report("Beta"), "(0000S1)   Shared post B\r\n"), 1u);
}

// A six-character line is indexed but ends the list's checkpoint section, so the first run
// appends the id again as an unknown checkpoint: the site's block then holds it twice.
TEST_F(Report, AnIdTwiceInOneSitesBlockIsReportedAndCountedOnce) {
    writeFile(dir / "Beta" / "checkpt.lst", "//h\r\n\r\n0000B1\r\n\r\n//End of File\r\n");
    loadSites();
    process({clocking("0000B1", "2403051405")});
    loadSites();
    ASSERT_EQ(context.siteIndex.SiteIdsMatch(1, "0000B1"), (std::vector<int>{1, 2}));
    process({clocking("0000B1", "2403051410")});
    const std::string text = report("Beta");
    EXPECT_EQ(occurrencesOf(text, "14:10  (0000B1)"), 1u) << text;

    // The same with a list that names the checkpoint twice: each entry counts the clocking once.
    writeFile(dir / "Beta" / "checkpt.lst",
              "//h\r\n\r\n0000B1 = Boiler room\r\n0000B1 = Boiler room\r\n\r\n");
    loadSites();
    process({clocking("0000B1", "2403051420")});
    const std::string counted = report("Beta");
    EXPECT_EQ(occurrencesOf(counted, "14:20  (0000B1)   Boiler room\r\n"), 1u) << counted;
    EXPECT_EQ(occurrencesOf(counted, "1          (0000B1)   Boiler room\r\n"), 2u) << counted;
}

TEST_F(Report, OutOfOrderClockingsWarnInEverySiteReport) {
    process({clocking("0000A1", "2403051410"), clocking("0000B1", "2403051405")});
    for (const char* name : {"Alpha", "Beta"}) {
        const std::string text = report(name);
        EXPECT_NE(text.find("\r\n\r\n\r\n  Warnings \r\n\r\nM157\r\nM158\r\n\r\nEnd of File"),
                  std::string::npos)
            << name << ":\n"
            << text;
    }
}

TEST_F(Report, HourMarkedClockingsTakePartInTheOrderTestByTheirTime) {
    // A bracket mark (hour byte 0x94) and an angle mark (0xD4) on 14h clockings, in time order.
    process({clocking("0000B1", "2403059405"), clocking("0000B1", "2403051410"),
             clocking("0000B1", "240305D415"), clocking("0000B1", "2403051420")});
    EXPECT_EQ(report("Beta").find("Warnings"), std::string::npos);

    // A marked clocking that is earlier than the one before it is out of order.
    process({clocking("0000B1", "2403051410"), clocking("0000B1", "2403059405")});
    EXPECT_NE(report("Beta").find("M157\r\nM158"), std::string::npos);
}

TEST_F(Report, OneStepBackInALargeUploadIsTheWrapWarning) {
    Lines lines;
    for (int i = 0; i < 4001; ++i) {
        const int minutes = i * 2; // no duplicates
        char when[16];
        std::snprintf(when, sizeof when, "2403%02d%02d%02d", 1 + minutes / 1440, minutes / 60 % 24,
                      minutes % 60);
        lines.push_back(clocking("0000B1", when));
    }
    lines.push_back(clocking("0000B1", "2403010000"));
    process(lines);
    const std::string text = report("Beta");
    EXPECT_NE(text.find("  Warnings \r\n\r\nM154\r\nM155\r\nM156\r\n\r\nEnd"), std::string::npos);
    EXPECT_EQ(text.find("M157"), std::string::npos);
}

TEST_F(Report, HourMarksSpecialRecordsAndSeparators) {
    process({clocking("0000A2", "2403051405"), clocking("0000A1", "2403059407"),
             clocking("0000A1", "240305D408"), clocking("123456", "2403051485"),
             clocking("0000A1", "2403051409")});
    const std::string text = report("Alpha");
    EXPECT_NE(text.find("Location\r\n"
                        "----------\r\n"
                        "2024/03/05 14:05  (0000A2)   Back door\r\n"
                        "2024/03/05 14:07  [0000A1]   Front gate\r\n"
                        "2024/03/05 14:08  <0000A1>   Front gate\r\n"
                        "============================================================\r\n"
                        "----------\r\n"
                        "2024/03/05 14:05  From Unit (3456)\r\n"
                        "----------\r\n"
                        "2024/03/05 14:09  (0000A1)   Front gate\r\n\r\n"),
              std::string::npos)
        << text;
    // Only ordinary clockings reach the PDF; the separator flag goes with them.
    std::vector<std::string> rows;
    for (const auto& call : pdf.calls) {
        if (call.starts_with("row|"))
            rows.push_back(call);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"row|2024/03/05|14:05|Back door|#",
                                              "row|2024/03/05|14:09|Front gate"}));
}

TEST_F(Report, ThePointFilterLeavesOutSeparatorsAndTheFrequencyReport) {
    upload({"Id : BATON7", clocking("0000A2", "2403051405"), "Done"});
    ProcessUpload(services, dir / "Raw.txt", {.pointFilter = true});
    const std::string text = report("Alpha");
    EXPECT_EQ(text.find("----------"), std::string::npos);
    EXPECT_EQ(text.find("Frequency"), std::string::npos);
}

TEST_F(Report, IdsTheListDoesNotNameBecomeUnknownCheckpointsOfTheSite) {
    // Six-character lines are indexed, but are no checkpoint lines of the list.
    writeFile(dir / "Alpha" / "checkpt.lst",
              "//Checkpoint list for Alpha\r\n\r\n0000A1 = Front gate\r\n0000U1\r\n000000\r\n"
              "\r\n//End of File\r\n");
    loadSites();
    process({clocking("0000U1", "2403051405"), clocking("000000", "2403051410"),
             clocking("0000U1", "2403051420")});
    const std::string text = report("Alpha");
    EXPECT_NE(text.find("2024/03/05 14:05  (0000U1)   2 Unknown checkpoint\r\n"
                        "2024/03/05 14:10  (000000)   3 ------ Baton Uploaded ------\r\n"
                        "2024/03/05 14:20  (0000U1)   2 Unknown checkpoint\r\n"),
              std::string::npos)
        << text;
    const std::string list = readFile(dir / "Alpha" / "checkpt.lst");
    EXPECT_EQ(occurrencesOf(list, "0000U1 = 2 Unknown checkpoint\r\n"), 1u) << list;
    EXPECT_EQ(occurrencesOf(list, "000000 = 3 ------ Baton Uploaded ------\r\n"), 1u) << list;
    EXPECT_NE(text.find("2          (0000U1)   2 Unknown checkpoint\r\n"), std::string::npos);
}

TEST_F(Report, ListLinesAreTakenApartByColumnsWhateverStandsBetween) {
    const std::string list =
        "//h\r\n\r\n0000B1\t=\tBoiler room\r\n0000S1\t#\tShared post B\r\n\r\n";
    writeFile(dir / "Beta" / "checkpt.lst", list);
    process({clocking("0000B1", "2403051405"), clocking("0000S1", "2403051410")});
    const std::string text = report("Beta");
    EXPECT_NE(text.find("14:05  (0000B1)   Boiler room\r\n----------\r\n"
                        "2024/03/05 14:10  (0000S1)   Shared post B\r\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(desk.dialogs.errors.empty());
    EXPECT_EQ(readFile(dir / "Beta" / "checkpt.lst"), list);
}

TEST_F(Report, ASecondRunInTheSameMinuteAppendsToTheReport) {
    process({clocking("0000B1", "2403051405")});
    const std::string first = report("Beta");
    process({clocking("0000B1", "2403051410")});
    EXPECT_EQ(report("Beta").substr(0, first.size()), first);
    const std::string gap =
        "\r\n   ---   ---   ---   ---   ---   ---   ---   ---\r\n\r\nKestrova\r\n";
    EXPECT_EQ(report("Beta").substr(first.size(), gap.size()), gap);
}

struct OpeningCase {
    const char* name;
    bool secure;
    bool open;
    bool writePending;
    const char* viewer;
    std::vector<std::string> opened; // file names
    std::vector<std::string> information;
    bool logged;
};

void PrintTo(const OpeningCase& row, std::ostream* out) {
    *out << row.name;
}

class Opening : public Report, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(Opening, FollowsTheSettingsAndWritePending) {
    const OpeningCase& row = GetParam();
    context.settings.update([&](Settings& s) { s.secureReports = row.secure; });
    context.settings.update([&](Settings& s) { s.openReportAfterProcessing = row.open; });
    context.settings.update([&](Settings& s) { s.clearKestrovaMemory = false; });
    state.setWritePending(row.writePending);
    state.setIdentText("Id : BATON7");
    desk.documents.pdfProgram = row.viewer;
    process({clocking("0000B1", "2403051405")});
    std::vector<std::string> opened;
    for (const auto& file : desk.documents.opened)
        opened.push_back(file.parent_path().filename().string() + "/" + file.filename().string());
    EXPECT_EQ(opened, row.opened);
    EXPECT_EQ(desk.dialogs.information, row.information);
    const fs::path log = context.adminLog.fileFor(desk.clock.time);
    EXPECT_EQ(
        fs::exists(log) &&
            readFile(log).find("\"Beta\",\"Kestrova Uploaded and Not cleared Id : BATON7\"") !=
                std::string::npos,
        row.logged);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Opening,
    ::testing::Values(
        OpeningCase{"Text", false, true, false, "", {"Beta/03051407.txt"}, {}, true},
        OpeningCase{"PdfWithViewer", true, true, false, "viewer", {"Beta/03051407.pdf"}, {}, true},
        OpeningCase{"PdfWithoutViewer",
                    true,
                    true,
                    false,
                    "",
                    {},
                    {"M137\rhttps://www.kestrova.example/help/pdf-viewer.html"},
                    true},
        OpeningCase{"NotOpened", false, false, false, "", {}, {}, true},
        OpeningCase{"WritePending", false, true, true, "", {}, {}, false}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrova::testing
