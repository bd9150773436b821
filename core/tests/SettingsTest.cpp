#include "core/Settings.h"

#include "core/Errors.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"

#include <gtest/gtest.h>
#include <thread>

namespace kestrova {
namespace {

using testing::FakeDocuments;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

class SettingsTest : public ::testing::Test {
protected:
    Settings load() {
        Settings s;
        SettingsFile(dir.path()).LoadSettings(s, documents, nullptr);
        return s;
    }
    TempDir dir;
    FakeDocuments documents;
};

TEST_F(SettingsTest, MissingFileIsCreatedEmptyAndDefaultsApply) {
    documents.pdfProgram = "viewer";
    const Settings s = load();
    EXPECT_EQ(readFile(dir / "Kestrova.ini"), "");
    Settings expected;
    expected.secureReports = true;
    EXPECT_EQ(s, expected);
}

TEST_F(SettingsTest, BooleansAreTrueOnlyForUpperCaseT) {
    writeFile(dir / "Kestrova.ini",
              "UploadKestrovaData=t\r\nClearKestrovaMemory=T\r\nRemoveDuplicatePoints=\r\n"
              "DiscardUnknownCheckpoints=T\r\n");
    const Settings s = load();
    EXPECT_FALSE(s.uploadKestrovaData);
    EXPECT_TRUE(s.clearKestrovaMemory);
    EXPECT_FALSE(s.removeDuplicatePoints);
    EXPECT_TRUE(s.discardUnknownCheckpoints);
}

TEST_F(SettingsTest, NamesIgnoreCaseAndValuesKeepEveryEqualsSign) {
    writeFile(dir / "kestrova.ini",
              "reportheader=A=B Ltd\r\nReportHeader=second\r\nDayorNight=Day");
    const Settings s = load();
    EXPECT_EQ(s.reportHeader, "A=B Ltd");
    EXPECT_FALSE(s.nightShift);
}

TEST_F(SettingsTest, ReportCopyFolderIsReadAndEmptyByDefault) {
    EXPECT_EQ(load().reportCopyFolder, "");
    writeFile(dir / "Kestrova.ini", "reportcopyfolder=/srv/reports\r\n");
    EXPECT_EQ(load().reportCopyFolder, "/srv/reports");
}

TEST_F(SettingsTest, NoPdfProgramMeansNoSecureReportsAndClockingList) {
    EXPECT_FALSE(load().secureReports);
    EXPECT_EQ(load().defaultReport, 2);
    writeFile(dir / "Kestrova.ini", "DefaultReport=3\r\n");
    EXPECT_EQ(load().defaultReport, 3);
}

TEST_F(SettingsTest, FailedPdfLookupKeepsOverviewReport) {
    documents.lookupFails = true;
    const Settings s = load();
    EXPECT_FALSE(s.secureReports);
    EXPECT_EQ(s.defaultReport, 3);
}

TEST_F(SettingsTest, ForcedMarkerCountsAsPdfProgram) {
    writeFile(dir / "PDF.txt", "");
    EXPECT_EQ(FindPdfViewer(dir.path(), documents), "forced");
    EXPECT_TRUE(load().secureReports);
}

TEST_F(SettingsTest, QuotedCommandIsCutAtItsClosingQuote) {
    documents.pdfProgram = "\"/usr/bin/viewer\" --open %1";
    EXPECT_EQ(FindPdfViewer(dir.path(), documents), "/usr/bin/viewer");
}

TEST_F(SettingsTest, BadDefaultReportStopsTheLoadAfterEarlierKeys) {
    writeFile(dir / "Kestrova.ini", "ReportHeader=Acme\r\nDefaultReport=x\r\nDefaultSite=4\r\n");
    Settings s;
    try {
        SettingsFile(dir.path()).LoadSettings(s, documents, nullptr);
        FAIL() << "expected a conversion error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
    }
    EXPECT_EQ(s.reportHeader, "Acme");
    EXPECT_EQ(s.defaultSite, 0);
}

TEST_F(SettingsTest, SetSettingReplacesTheFirstEntryAndKeepsOtherLines) {
    writeFile(dir / "Kestrova.ini",
              "; comment\r\nreportheader=Old\r\nMinimizeOnStartup=T\r\nDefaultReport=1\r\n"
              "DefaultSite=2\r\nReportHeader=Shadow");
    SettingsFile file(dir.path());
    file.SetSetting("ReportHeader", "New=Name");
    file.SetSetting("DefaultReport", "3");
    file.SetSetting("CommPort", "4");
    EXPECT_EQ(readFile(dir / "Kestrova.ini"),
              "; comment\r\nReportHeader=New=Name\r\nMinimizeOnStartup=T\r\nDefaultReport=3\r\n"
              "DefaultSite=2\r\nReportHeader=Shadow\r\nCommPort=4\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "kestrova.ini"));
}

TEST_F(SettingsTest, ConcurrentWritesAreNeverLost) {
    SettingsFile file(dir.path());
    auto writer = [&file](const std::string& prefix) {
        for (int i = 0; i < 50; ++i)
            file.SetSetting(prefix + std::to_string(i), "v");
    };
    std::thread comms(writer, "A");
    std::thread ui(writer, "B");
    comms.join();
    ui.join();
    EXPECT_EQ(readLines(file.path()).size(), 100u);
}

TEST(SettingValueText, FormatsEveryKind) {
    Settings s;
    s.nightShift = false;
    s.defaultSite = 7;
    EXPECT_EQ(settingValueText(s, "UpdateDateTimeAutomatically"), "T");
    EXPECT_EQ(settingValueText(s, "DiscardUnknownCheckpoints"), "F");
    EXPECT_EQ(settingValueText(s, "DayorNight"), "Day");
    EXPECT_EQ(settingValueText(s, "DefaultSite"), "7");
    EXPECT_EQ(settingValueText(s, "LanguageFile"), "English.lng");
}

} // namespace
} // namespace kestrova
