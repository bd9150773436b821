#include "core/SystemCheck.h"

#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrova {
namespace {

using ::testing::ElementsAre;
using testing::FakeDocuments;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

// Serves a fixed version file, or fails like a machine without network.
struct FakeDownloader : WebDownloader {
    std::optional<std::string> content;
    std::vector<std::string> addresses;
    bool download(std::string_view address, const std::filesystem::path& target) override {
        addresses.emplace_back(address);
        if (!content)
            return false;
        writeFile(target, *content);
        return true;
    }
};

std::string languageFileOf(int lines) {
    std::string text;
    for (int i = 1; i <= lines; ++i)
        text += "x\r\n";
    return text;
}

class SystemCheckTest : public ::testing::Test {
protected:
    SystemCheckTest() {
        // Each message reads as its number, so every line shows which message it holds.
        for (int n = 125; n <= 143; ++n)
            messages.setText(n, "M" + std::to_string(n));
    }

    SystemCheckResult run(bool lampRed = false, int port = 3) {
        return RunSystemCheck(
            {dir.path(), messages, settingsFile, documents, downloader, lampRed, port});
    }

    TempDir dir;
    MessageTable messages;
    SettingsFile settingsFile{dir.path()};
    FakeDocuments documents;
    FakeDownloader downloader;
};

TEST_F(SystemCheckTest, AllPresentGivesEveryLineInOrder) {
    for (const char* name : {"Install.pdf", "Basic.pdf", "Advanced.pdf", "logo.gif", "logobig.gif"})
        writeFile(dir / name, "x");
    writeFile(dir / "English.lng", languageFileOf(347));
    writeFile(dir / "Deutsch.lng", languageFileOf(347));
    writeFile(dir / "Broken.lng", languageFileOf(346));
    documents.pdfProgram = "viewer";
    downloader.content = "14/08/2013\r\n5.28l\r\n";

    const auto result = run(false, 3);

    EXPECT_THAT(result.lines, ElementsAre("M125", "  M126", "M130", "  M131", "M133",
                                          "  M134 Deutsch", "  M134 English", "M135", "  M136",
                                          "M138", "  Install.pdf...M131", "  Basic.pdf...M131",
                                          "  Advanced.pdf...M131", "M139", "  logo.gif...M131",
                                          "  logobig.gif...M131", "M140", "  M142 3", "M143"));
    EXPECT_EQ(result.newVersion, (NewVersionLink{true, "M126"}));
    EXPECT_THAT(downloader.addresses,
                ElementsAre("https://www.kestrova.example/uploader/version.txt"));
}

TEST_F(SystemCheckTest, MissingFilesNoPdfProgramAndNoStationHaveTheirOwnLines) {
    writeFile(dir / "install.PDF", "x"); // found without regard to case
    writeFile(dir / "logo.gif", "x");

    const auto result = run(true, 0);

    EXPECT_THAT(result.lines,
                ElementsAre("M125", "  M129", "M130", "  M131", "M133", "M135", "  M137",
                            "  https://www.kestrova.example/uploader/pdf-reader", "M138",
                            "  Install.pdf...M131", "  Basic.pdf...M132", "  Advanced.pdf...M132",
                            "M139", "  logo.gif...M131", "  logobig.gif...M132", "M140", "  M141",
                            "M143"));
}

struct VersionCase {
    std::string name;
    std::optional<std::string> file; // no value: no network
    std::string line;
    NewVersionLink link;
};

class SystemCheckVersionTest : public SystemCheckTest,
                               public ::testing::WithParamInterface<VersionCase> {};

TEST_P(SystemCheckVersionTest, VersionLineAndLink) {
    downloader.content = GetParam().file;
    const auto result = run();
    ASSERT_GE(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[1], GetParam().line);
    EXPECT_EQ(result.newVersion, GetParam().link);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, SystemCheckVersionTest,
    ::testing::Values(VersionCase{"NoNetwork", std::nullopt, "  M129", {false, ""}},
                      VersionCase{"SameBuild", "14/08/2013\r\n5.28l", "  M126", {true, "M126"}},
                      VersionCase{"NewerBuild",
                                  "02/02/2015\n5.31a\n",
                                  "  M127 5.31a M128",
                                  {true, "M127 5.31a M128"}},
                      VersionCase{"EmptyFile", "", "  M127  M128", {true, "M127  M128"}}),
    [](const auto& row) { return row.param.name; });

TEST_F(SystemCheckTest, WriteCheckLeavesACopyOfTheSettingsAndKeepsThemIntact) {
    const std::string settings = "ReportHeader=Acme\r\nCOM1=simulator\r\n";
    writeFile(dir / "Kestrova.ini", settings);

    const auto result = run();

    EXPECT_EQ(result.lines[3], "  M131");
    EXPECT_EQ(readFile(dir / "test.txt"), settings);
    EXPECT_EQ(readFile(dir / "Kestrova.ini"), settings);
}

TEST_F(SystemCheckTest, WriteFailureGivesTheFailedLineAndTheCheckGoesOn) {
    std::filesystem::create_directories(dir / "test.txt" / "in the way");

    const auto result = run();

    EXPECT_EQ(result.lines[2], "M130");
    EXPECT_EQ(result.lines[3], "  M132");
    EXPECT_EQ(result.lines.back(), "M143");
}

TEST_F(SystemCheckTest, FailingPdfLookupCountsAsNoProgram) {
    documents.lookupFails = true;
    const auto lines = run().lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  M137"), lines.end());
}

TEST_F(SystemCheckTest, ForcedPdfMarkerCountsAsAProgram) {
    writeFile(dir / "pdf.txt", "");
    const auto lines = run().lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  M136"), lines.end());
}

} // namespace
} // namespace kestrova
