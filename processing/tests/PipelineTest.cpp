#include "ProcessingFixture.h"
#include "core/Errors.h"
#include "processing/PreprocessUpload.h"

#include <random>

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> entries(const fs::path& dir) {
    std::vector<std::string> names;
    if (!fs::exists(dir))
        return names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> bucketFiles(const fs::path& dir) {
    std::vector<std::string> found;
    for (const auto& name : entries(dir)) {
        if (name.ends_with(".$$$") && name != "checkpt.$$$")
            found.push_back(name);
    }
    return found;
}

// Three sites: Alpha and Beta share checkpoint 0000S1; Common holds the lobby.
class Pipeline : public ProcessingTest {
protected:
    Pipeline() {
        site("Alpha", {"0000A1 = Front gate", "0000A2 # Back door", "0000S1 = Shared post"});
        site("Beta", {"0000B1 = Boiler room", "0000S1 = Shared post B"});
        site("Common", {"0000C1 = Lobby"});
        writeFile(dir / "Alpha" / "Raw" / "240305.Txt",
                  "0000000000A12403051200\r\n0000000000A22403051412\r\n");
        writeFile(dir / "Alpha" / "Raw" / "240304.txt", "0000000000A12403041200\r\n");
        loadSites();
        state.setIdentText("Id : BATON7");
        state.setBatonVersion("V2.1");
    }

    Lines upload7() const {
        return {
            "Id : BATON7",
            clocking("0000C1", "2403051400", 1), // before any real site: waits for Beta
            clocking("0000B1", "2403051405", 2),
            clocking("0000A1", "2403051410", 3),
            clocking("0000S1", "2403051415", 4), // Alpha and Beta
            clocking("0000C1", "2403051420", 5), // goes with the site before: Beta
            clocking("001234", "2403051485", 6), // unit record of the next clocking
            clocking("0000A2", "2403051425", 7),
            clocking("0000B1", "24030514X0", 8),  // corrupt
            clocking("0000ZZ", "2403051430", 9),  // no site lists it
            clocking("00ABCD", "2403051485", 10), // special record of no site
        };
    }
};

TEST_F(Pipeline, PreprocessingMergesEachSitesClockingsIntoItsDayFiles) {
    const auto file = upload(upload7());
    PreprocessUpload(context, state, file);

    EXPECT_EQ(readFile(dir / "Alpha" / "Raw" / "240305.Txt"), "0000000000A12403051200\r\n"
                                                              "0000000000A12403051410\r\n"
                                                              "0000000000A22403051412\r\n"
                                                              "0000000000S12403051415\r\n"
                                                              "0000000000A22403051425\r\n"
                                                              "0000000012342403051485\r\n");
    EXPECT_EQ(readFile(dir / "Alpha" / "Raw" / "240304.txt"), "0000000000A12403041200\r\n");
    EXPECT_EQ(entries(dir / "Alpha" / "Raw"),
              (std::vector<std::string>{"240304.txt", "240305.Txt"}));
    EXPECT_EQ(readFile(dir / "Beta" / "Raw" / "240305.txt"), "0000000000C12403051400\r\n"
                                                             "0000000000B12403051405\r\n"
                                                             "0000000000S12403051415\r\n"
                                                             "0000000000C12403051420\r\n");
    EXPECT_TRUE(entries(dir / "Common" / "Raw").empty());
    EXPECT_TRUE(readFile(file).ends_with(clocking("00ABCD", "2403051485", 10) + "\r\nDone\r\n"));
    EXPECT_TRUE(fs::exists(dir / "empty.txt"));
    EXPECT_TRUE(bucketFiles(dir.path()).empty());
    EXPECT_FALSE(desk.busy.busy);
    EXPECT_EQ(state.led(), LedColour::Green);
}

TEST_F(Pipeline, CommonClockingsWithoutARealSiteStayWithTheCommonSite) {
    PreprocessUpload(context, state,
                     upload({clocking("0000C1", "2403051400"), clocking("0000C1", "2403051401")}));
    EXPECT_EQ(readFile(dir / "Common" / "Raw" / "240305.txt"),
              "0000000000C12403051400\r\n0000000000C12403051401\r\n");
}

TEST_F(Pipeline, UploadingTwiceStoresEveryClockingTwice) {
    const Lines lines = {"Id : B", clocking("0000B1", "2403051405")};
    PreprocessUpload(context, state, upload(lines));
    PreprocessUpload(context, state, upload(lines));
    EXPECT_EQ(readFile(dir / "Beta" / "Raw" / "240305.txt"),
              "0000000000B12403051405\r\n0000000000B12403051405\r\n");
}

TEST_F(Pipeline, AnIdTwiceInOneSitesBlockIsStoredOnce) {
    site("Beta", {"0000B1 = Boiler room", "0000B1 = Boiler room again"});
    loadSites();
    PreprocessUpload(context, state, upload({"Id : B", clocking("0000B1", "2403051405")}));
    EXPECT_EQ(readFile(dir / "Beta" / "Raw" / "240305.txt"), "0000000000B12403051405\r\n");
}

TEST_F(Pipeline, DoneIsAppendedOnALineOfItsOwn) {
    const auto file = upload({"Id : B", clocking("0000B1", "2403051405")}, false);
    PreprocessUpload(context, state, file);
    EXPECT_EQ(readFile(file), "Id : B\r\n" + clocking("0000B1", "2403051405") + "\r\nDone\r\n");
    PreprocessUpload(context, state, file);
    EXPECT_TRUE(readFile(file).ends_with("1\r\nDone\r\n")); // not marked twice
}

TEST_F(Pipeline, AUnitRecordWhoseDateIsNoDateNamesNoDayFile) {
    // Columns 13-18 of a unit record are not checked for digits; they must not become a path.
    PreprocessUpload(context, state,
                     upload({"000000001234../../8512", "000000001234/x/y/8512",
                             clocking("0000B1", "2403051405")}));
    EXPECT_EQ(entries(dir / "Beta" / "Raw"), std::vector<std::string>{"240305.txt"});
    EXPECT_EQ(readFile(dir / "Beta" / "Raw" / "240305.txt"), "0000000000B12403051405\r\n");
    EXPECT_FALSE(fs::exists(dir / ".txt"));
}

TEST_F(Pipeline, DoRawWritesDayFilesAndAReportPerSite) {
    const std::string beta = "Kestrova\r\n"
                             "\r\n"
                             "Site : Beta\r\n"
                             "\r\n"
                             "Report of Kestrova data uploaded 05/03/2024 13:00:00\r\n"
                             "From Unit (BATON7)  VerV2.1\r\n"
                             "\r\n"
                             "Date       Time   Id Number  Location\r\n"
                             "2024/03/05 14:00  (0000C1)   Lobby\r\n"
                             "2024/03/05 14:05  (0000B1)   Boiler room\r\n"
                             "2024/03/05 14:15  (0000S1)   Shared post B\r\n"
                             "2024/03/05 14:20  (0000C1)   Lobby\r\n"
                             "\r\n"
                             "\r\n"
                             "Frequency Report :\r\n"
                             "\r\n"
                             "Frequency  Id Number  Name\r\n"
                             "1          (0000B1)   Boiler room\r\n"
                             "1          (0000S1)   Shared post B\r\n"
                             "2          (0000C1)   Lobby\r\n"
                             "-----------\r\n"
                             "4\r\n"
                             "\r\n"
                             "\r\n"
                             "  Warnings \r\n"
                             "\r\n"
                             "1 Corupt Records Discarded\r\n"
                             "\r\n"
                             "End of File\r\n"
                             "Report compiled by Kestrova uploader Ver  5.28l\r\n"
                             "www.kestrova.example\r\n";
    upload(upload7());
    const ProcessResult run = DoRaw(services);
    // Pre-processing has just appended the Done marker: the file's time is the time of the run.
    const auto withoutUploadTime = [](std::string text) {
        const std::string label = "uploaded ";
        const auto at = text.find(label) + label.size();
        return text.replace(at, text.find('\r', at) - at, "05/03/2024 13:00:00");
    };
    EXPECT_EQ(withoutUploadTime(report("Beta")), beta);
    EXPECT_EQ(withoutUploadTime(report("Alpha")),
              "Kestrova\r\n"
              "\r\n"
              "Site : Alpha\r\n"
              "\r\n"
              "Report of Kestrova data uploaded 05/03/2024 13:00:00\r\n"
              "From Unit (BATON7)  VerV2.1\r\n"
              "\r\n"
              "Date       Time   Id Number  Location\r\n"
              "2024/03/05 14:10  (0000A1)   Front gate\r\n"
              "2024/03/05 14:15  (0000S1)   Shared post\r\n"
              "----------\r\n"
              "2024/03/05 14:05  From Unit (1234)\r\n"
              "----------\r\n"
              "----------\r\n"
              "2024/03/05 14:25  (0000A2)   Back door\r\n"
              "\r\n"
              "\r\n"
              "Frequency Report :\r\n"
              "\r\n"
              "Frequency  Id Number  Name\r\n"
              "1          (0000A1)   Front gate\r\n"
              "1          (0000A2)   Back door\r\n"
              "1          (0000S1)   Shared post\r\n"
              "-----------\r\n"
              "3\r\n"
              "\r\n"
              "End of File\r\n"
              "Report compiled by Kestrova uploader Ver  5.28l\r\n"
              "www.kestrova.example\r\n");
    EXPECT_FALSE(fs::exists(dir / "Common" / "03051407.txt"));
    EXPECT_EQ(run.reports, (std::vector<fs::path>{
                               dir / "Alpha" / "03051407.txt", dir / "Alpha" / "03051407.pdf",
                               dir / "Beta" / "03051407.txt", dir / "Beta" / "03051407.pdf"}));
    // Only the unknown clockings that processing keeps are offered.
    EXPECT_EQ(chooser.shown, 1);
    EXPECT_EQ(chooser.count, 2u);
    EXPECT_EQ(chooser.ids, (std::vector<std::string>{"0000ZZ", "00ABCD"}));
    EXPECT_EQ(desk.documents.opened, (std::vector<fs::path>{dir / "Alpha" / "03051407.txt",
                                                            dir / "Beta" / "03051407.txt"}));
    EXPECT_TRUE(bucketFiles(dir.path()).empty());
    EXPECT_FALSE(desk.busy.busy);
    EXPECT_EQ(state.led(), LedColour::Lime);
    const std::string log = readFile(context.adminLog.fileFor(desk.clock.time));
    EXPECT_NE(log.find("\"Alpha\",\"Kestrova Uploaded and cleared Id : BATON7\""),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("\"Beta\",\"Kestrova Uploaded and cleared Id : BATON7\""),
              std::string::npos);
    EXPECT_EQ(log.find("Common"), std::string::npos);
}

TEST_F(Pipeline, ThePdfGetsTheOrdinaryClockingsTheTableAndTheWarnings) {
    upload({"Id : BATON7", clocking("0000B1", "2403051405"), clocking("0000B1", "240305140X"),
            clocking("0000S1", "2403059415"), Lines::value_type("Done")});
    ProcessUpload(services, dir / "Raw.txt");
    EXPECT_EQ(pdf.calls,
              (std::vector<std::string>{
                  // Alpha: the bracketed clocking is left out of the PDF.
                  "begin|M170 Kestrova|www.kestrova.example   Ver 5.28l|Alpha - (BATON7)",
                  "table|Frequency Report :|M152|M153|Front gate=0|Back door=0|Shared post=1",
                  "save|03051407.pdf",
                  "begin|M170 Kestrova|www.kestrova.example   Ver 5.28l|Beta - (BATON7)",
                  "row|2024/03/05|14:05|Boiler room",
                  "table|Frequency Report :|M152|M153|Boiler room=1|Shared post B=1", "text|",
                  "text| Warnings ", "text|1 Corupt Records Discarded", "save|03051407.pdf"}));
}

TEST_F(Pipeline, AnUploadWithoutDoneReportsItsLastClockingToo) {
    const auto file =
        upload({"Id : BATON7", clocking("0000B1", "2403051405"), clocking("0000B1", "2403051410")});
    ImportUpload(services, file);
    EXPECT_NE(report("Beta").find("2024/03/05 14:10  (0000B1)   Boiler room"), std::string::npos);
    EXPECT_NE(report("Beta").find("uploaded 05/03/2024 13:00:00\r\n"), std::string::npos);
    EXPECT_TRUE(readFile(file).ends_with("\r\nDone\r\n"));
    const std::string log = readFile(context.adminLog.fileFor(desk.clock.time));
    EXPECT_NE(log.find("\"unknown\",\"Raw.txt imported\""), std::string::npos);
}

TEST_F(Pipeline, IndexAndSlotScanGiveTheSameFiles) {
    upload(upload7());
    DoRaw(services);
    const std::string alpha = report("Alpha");
    const std::string dayFile = readFile(dir / "Alpha" / "Raw" / "240305.Txt");
    fs::remove(dir / "Alpha" / "03051407.txt");
    writeFile(dir / "Alpha" / "Raw" / "240305.Txt",
              "0000000000A12403051200\r\n0000000000A22403051412\r\n");
    upload(upload7());
    services.matching = SiteMatching::SlotScan;
    DoRaw(services);
    EXPECT_EQ(report("Alpha"), alpha);
    EXPECT_EQ(readFile(dir / "Alpha" / "Raw" / "240305.Txt"), dayFile);
}

TEST_F(Pipeline, AReportThatCannotBeWrittenEndsTheRunAndLeavesNoBucket) {
    fs::create_directory(dir / "Beta" / "03051407.txt"); // in the way of the report file
    upload(upload7());
    EXPECT_THROW(DoRaw(services), kestrova::IoError);
    EXPECT_TRUE(bucketFiles(dir.path()).empty());
    EXPECT_FALSE(desk.busy.busy);
    // Alpha, before Beta, was written; nothing of Beta's went to another site.
    EXPECT_EQ(report("Alpha").find("Boiler"), std::string::npos);
}

TEST_F(Pipeline, StaleBucketFilesOfAnEarlierRunAreRemoved) {
    writeFile(dir / "1.$$$", "left over");
    writeFile(dir / "sorttemp.$$$", "");
    upload(upload7());
    DoRaw(services);
    EXPECT_TRUE(bucketFiles(dir.path()).empty());
}

TEST_F(Pipeline, RandomBytesProcessWithoutACrash) {
    std::mt19937 random(4711);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(4096, '\0');
        for (auto& b : bytes)
            b = static_cast<char>(random() % 256);
        // Make some lines look like clockings of the fixture's checkpoints.
        bytes += "\r\n" + clocking("0000B1", "2403051405") + "\r\n000000" + bytes.substr(0, 40);
        writeFile(dir / "Raw.txt", bytes);
        EXPECT_NO_THROW(DoRaw(services)) << "round " << round;
    }
    EXPECT_TRUE(bucketFiles(dir.path()).empty());
}

} // namespace
} // namespace kestrova::testing
