#include "core/Preferences.h"

#include "core/AdminLog.h"
#include "core/Errors.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "core/testing/FixedSelection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrova {
namespace {

using ::testing::ElementsAre;
using testing::FakeClock;
using testing::FakeDocuments;
using testing::FixedSelection;
using ::testing::IsEmpty;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

std::string languageFileOf(int lines) {
    std::string text;
    for (int i = 1; i <= lines; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

class PreferencesTest : public ::testing::Test {
protected:
    PreferencesTest() {
        documents.pdfProgram = "viewer";
        reload();
    }

    void reload() { file.LoadSettings(settings, documents, nullptr); }

    // The controls as showing the window loads them, and the Reports window as it starts.
    PreferenceControls shown() const { return LoadPreferenceControls(settings, dir.path()); }
    FixedSelection unchangedReports() const {
        FixedSelection s;
        s.site = settings.defaultSite;
        s.kind = settings.defaultReport;
        s.night = settings.nightShift;
        return s;
    }

    void save(const PreferenceControls& controls, const ReportsSelection& reports) {
        PreferencesTargets targets{file,    settings,
                                   log,     documents,
                                   nullptr, [this](const std::string& f) { loaded.push_back(f); }};
        SavePreferences(controls, reports, targets);
    }

    // The admin-log actions written, each with its site.
    std::vector<std::string> logLines() const {
        const auto path = dir / "LG202403.txt";
        return fileExists(path) ? readLines(path) : Lines{};
    }
    static std::string logLine(const std::string& action) {
        return "\"2024/03/05 14:07.09\",\"All\",\"" + action + "\"";
    }

    TempDir dir;
    FakeDocuments documents;
    FakeClock clock;
    SettingsFile file{dir.path()};
    AdminLog log{dir.path(), clock};
    Settings settings;
    std::vector<std::string> loaded;
};

TEST_F(PreferencesTest, OkWithoutChangeLogsNothingKeepsTheFileAndReloads) {
    const std::string original = "; a comment line\r\nReportHeader=Acme\r\nCOM1=simulator\r\n"
                                 "CommPort=1\r\nDayorNight=Day\r\n";
    writeFile(dir / "Kestrova.ini", original);
    reload();
    const auto controls = shown();
    const auto reports = unchangedReports();
    // The comms thread moved the port meanwhile; the reload must take it in.
    file.SetSetting("CommPort", "4");

    save(controls, reports);

    EXPECT_THAT(logLines(), IsEmpty());
    EXPECT_EQ(readFile(dir / "Kestrova.ini"),
              "; a comment line\r\nReportHeader=Acme\r\nCOM1=simulator\r\nCommPort=4\r\n"
              "DayorNight=Day\r\n");
    EXPECT_EQ(settings.commPort, "4");
    EXPECT_THAT(loaded, IsEmpty());
}

struct CheckBoxCase {
    std::string name;
    std::size_t box; // 0-based
    bool before;     // the setting's value
    std::string entry;
    std::string action;
};

class PreferencesCheckBoxTest : public PreferencesTest,
                                public ::testing::WithParamInterface<CheckBoxCase> {};

TEST_P(PreferencesCheckBoxTest, ToggledBoxWritesItsEntryAndLogsUnderAll) {
    const auto& c = GetParam();
    const auto& box = preferenceCheckBoxes()[c.box];
    file.SetSetting(box.key, c.before ? "T" : "F");
    reload();
    auto controls = shown();
    ASSERT_EQ(controls.checked[c.box], c.before);
    controls.checked[c.box] = !c.before;

    save(controls, unchangedReports());

    EXPECT_THAT(logLines(), ElementsAre(logLine(c.action)));
    EXPECT_EQ(readFile(dir / "Kestrova.ini"), c.entry + "\r\n");
    EXPECT_EQ(settings.*(box.member), !c.before);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PreferencesCheckBoxTest,
    ::testing::Values(CheckBoxCase{"UpdateOff", 0, true, "UpdateDateTimeAutomatically=F",
                                   "Update Date Time Automatically Changed to Disabled"},
                      CheckBoxCase{"UploadOff", 1, true, "UploadKestrovaData=F",
                                   "Upload Kestrova Data Changed to Disabled"},
                      CheckBoxCase{"ClearOn", 2, false, "ClearKestrovaMemory=T",
                                   "Clear Kestrova Memory Changed to Enabled"},
                      CheckBoxCase{"FrequencyOff", 3, true, "GenerateFrequencyReport=F",
                                   "Generate Frequency Report Changed to Disabled"},
                      CheckBoxCase{"OpenOn", 4, false, "OpenReportAfterProcessing=T",
                                   "Open Report After Processing Changed to Enabled"},
                      CheckBoxCase{"DiscardOn", 5, false, "DiscardUnknownCheckpoints=T",
                                   "Discard Unknown Checkponts Changed to Enabled"},
                      CheckBoxCase{"DuplicatesOff", 6, true, "RemoveDuplicatePoints=F",
                                   "Remove Duplicate Points Changed to Disabled"},
                      CheckBoxCase{"SecureOff", 7, true, "SecureReports=F",
                                   "Secure Reports Changed to Disabled"}),
    [](const auto& row) { return row.param.name; });

TEST_F(PreferencesTest, EveryChangeOfOneRunGoesIntoOneSaveInWritingOrder) {
    writeFile(dir / "Kestrova.ini", "reportheader=Old\r\nDefaultReport=1\r\nDefaultSite=0\r\n"
                                    "LanguageFile=English.lng\r\n");
    writeFile(dir / "English.lng", languageFileOf(347));
    writeFile(dir / "Deutsch.lng", languageFileOf(347));
    reload();
    auto controls = shown();
    controls.checked[1] = false;
    controls.reportHeader = "A=B Ltd";
    ASSERT_THAT(controls.languages, ElementsAre("Deutsch", "English"));
    controls.selectedLanguage = 0;
    controls.reportCopyFolder = "/srv/report copies";
    FixedSelection reports = unchangedReports();
    reports.site = 2;
    reports.kind = 3;
    reports.night = false;

    save(controls, reports);

    EXPECT_THAT(logLines(),
                ElementsAre(logLine("Upload Kestrova Data Changed to Disabled"),
                            logLine("ReportHeader Changed to A=B Ltd"),
                            logLine("Default report site changed to 2"),
                            logLine("Default report type changed to 3"),
                            logLine("Default report Day or Night changed to Disabled"),
                            logLine("Language file Changed to Deutsch.lng"),
                            logLine("Report copy folder Changed to /srv/report copies")));
    EXPECT_EQ(readFile(dir / "Kestrova.ini"),
              "ReportHeader=A=B Ltd\r\nDefaultReport=3\r\nDefaultSite=2\r\n"
              "LanguageFile=Deutsch.lng\r\nUploadKestrovaData=F\r\nDayorNight=Day\r\n"
              "ReportCopyFolder=/srv/report copies\r\n");
    EXPECT_THAT(loaded, ElementsAre("Deutsch.lng"));
    EXPECT_EQ(settings.reportHeader, "A=B Ltd");
    EXPECT_EQ(settings.defaultSite, 2);
    EXPECT_FALSE(settings.nightShift);
    EXPECT_EQ(settings.reportCopyFolder, "/srv/report copies");
}

TEST_F(PreferencesTest, EmptyingTheReportCopyFolderTurnsTheCopiesOff) {
    writeFile(dir / "Kestrova.ini", "ReportCopyFolder=/srv/copies\r\nReportHeader=Acme\r\n");
    reload();
    auto controls = shown();
    ASSERT_EQ(controls.reportCopyFolder, "/srv/copies");
    controls.reportCopyFolder.clear();

    save(controls, unchangedReports());

    EXPECT_THAT(logLines(), ElementsAre(logLine("Report copies Disabled")));
    EXPECT_EQ(readFile(dir / "Kestrova.ini"), "ReportCopyFolder=\r\nReportHeader=Acme\r\n");
    EXPECT_EQ(settings.reportCopyFolder, "");
}

struct CopyFolderCase {
    std::string name;
    std::string current;
    std::optional<std::string> chosen; // under the test's root; none: cancelled
    std::string expected;              // "ROOT/" stands for the test's root
    bool refused;
};

void PrintTo(const CopyFolderCase& row, std::ostream* out) {
    *out << row.name;
}

class ReportCopyFolderChoice : public ::testing::TestWithParam<CopyFolderCase> {};

TEST_P(ReportCopyFolderChoice, TakesAFolderOutsideTheProgramDirectory) {
    const CopyFolderCase& c = GetParam();
    TempDir root;
    const auto program = root / "kestrova";
    std::filesystem::create_directories(program / "North Gate");
    std::filesystem::create_directories(root / "copies");
    testing::FakeDialogs dialogs;
    if (c.chosen)
        dialogs.folderAnswers.push_back(root / *c.chosen);
    else
        dialogs.folderAnswers.push_back(std::nullopt);

    const std::string folder = chooseReportCopyFolder(dialogs, c.current, program);

    const std::string rootText = root.path().string() + "/";
    EXPECT_EQ(folder,
              c.expected.rfind("ROOT/", 0) == 0 ? rootText + c.expected.substr(5) : c.expected);
    ASSERT_EQ(dialogs.folderRequests.size(), 1u);
    EXPECT_EQ(dialogs.folderRequests[0].directory,
              c.current.empty() ? program : program / c.current);
    if (c.refused)
        EXPECT_THAT(dialogs.errors, ElementsAre(std::string(kCopyFolderInsideProgram)));
    else
        EXPECT_THAT(dialogs.errors, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ReportCopyFolderChoice,
    ::testing::Values(
        CopyFolderCase{"OutsideIsTaken", "", "copies", "ROOT/copies", false},
        CopyFolderCase{"CancelKeepsTheFolder", "/srv/old", std::nullopt, "/srv/old", false},
        CopyFolderCase{"ASiteFolderIsRefused", "/srv/old", "kestrova/North Gate", "/srv/old", true},
        CopyFolderCase{"TheProgramDirectoryIsRefused", "", "kestrova", "", true},
        CopyFolderCase{"AWayOutOfTheProgramDirectoryIsTaken", "",
                       "kestrova/North Gate/../../copies", "ROOT/kestrova/North Gate/../../copies",
                       false},
        CopyFolderCase{"AMissingFolderInsideIsRefused", "", "kestrova/new", "", true}),
    [](const auto& row) { return row.param.name; });

TEST_F(PreferencesTest, ReportsWindowChoicesAreStoredOnlyWhenMadeAndDifferent) {
    writeFile(dir / "Kestrova.ini", "DayorNight=Day\r\nDefaultReport=2\r\nDefaultSite=1\r\n");
    reload();
    FixedSelection reports;
    reports.site = std::nullopt; // no site selected
    reports.kind = std::nullopt; // no kind chosen
    reports.night = true;        // switched from the day to the night overview

    save(shown(), reports);

    EXPECT_THAT(logLines(), ElementsAre(logLine("Default report Day or Night changed to Enabled")));
    EXPECT_EQ(readFile(dir / "Kestrova.ini"), "DayorNight=Night\r\nDefaultReport=2\r\n"
                                              "DefaultSite=1\r\n");
}

TEST_F(PreferencesTest, TheLanguageAlreadySetIsNeitherWrittenNorReloaded) {
    writeFile(dir / "Kestrova.ini", "LanguageFile=english.lng\r\n");
    writeFile(dir / "English.lng", languageFileOf(347));
    reload();
    const auto controls = shown();
    ASSERT_EQ(controls.selectedLanguage, std::optional<std::size_t>(0));

    save(controls, unchangedReports());

    EXPECT_THAT(logLines(), IsEmpty());
    EXPECT_THAT(loaded, IsEmpty());
    EXPECT_EQ(readFile(dir / "Kestrova.ini"), "LanguageFile=english.lng\r\n");
}

TEST_F(PreferencesTest, OnlyLanguageFilesOfExactlyTheRightLengthAreOffered) {
    writeFile(dir / "Short.lng", languageFileOf(346));
    writeFile(dir / "Long.lng", languageFileOf(348));
    writeFile(dir / "Good.LNG", languageFileOf(347));
    writeFile(dir / "Unended.lng", languageFileOf(347).substr(0, languageFileOf(347).size() - 2));
    writeFile(dir / "Empty.lng", "");
    writeFile(dir / "Notes.txt", languageFileOf(347));
    std::filesystem::create_directory(dir / "Folder.lng");

    const auto controls = shown();

    EXPECT_THAT(controls.languages, ElementsAre("Good", "Unended"));
    EXPECT_EQ(controls.selectedLanguage, std::nullopt); // English.lng is not among them
}

TEST_F(PreferencesTest, NoLanguageListedLeavesTheLanguageAlone) {
    auto controls = shown();
    ASSERT_THAT(controls.languages, IsEmpty());
    controls.selectedLanguage = 0; // a stale selection of an empty list selects nothing

    save(controls, unchangedReports());

    EXPECT_THAT(logLines(), IsEmpty());
    EXPECT_EQ(settings.languageFile, "English.lng");
}

TEST_F(PreferencesTest, SaveFailureEndsTheActionBeforeTheReload) {
    std::filesystem::remove(dir / "Kestrova.ini");
    std::filesystem::create_directory(dir / "Kestrova.ini"); // cannot be replaced by a file
    Settings before = settings;
    before.commPort = "before";
    settings = before;
    auto controls = shown();
    controls.checked[0] = !controls.checked[0];

    EXPECT_THROW(save(controls, unchangedReports()), IoError);
    EXPECT_EQ(settings, before);
}

struct WarningCase {
    std::string name;
    bool ticked, active, loading;
    bool warns;
};

class DiscardWarningTest : public ::testing::TestWithParam<WarningCase> {};

TEST_P(DiscardWarningTest, OnlyAUserTickInTheActiveWindowWarns) {
    const auto& c = GetParam();
    const auto warning = discardUnknownWarning(c.ticked, c.active, c.loading);
    if (c.warns)
        EXPECT_EQ(warning, std::optional<std::string>("Warning this could result in loss of Data"));
    else
        EXPECT_EQ(warning, std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DiscardWarningTest,
    ::testing::Values(WarningCase{"TickedByUser", true, true, false, true},
                      WarningCase{"Unticked", false, true, false, false},
                      WarningCase{"TickedWhileLoading", true, true, true, false},
                      WarningCase{"WindowNotActive", true, false, false, false}),
    [](const auto& row) { return row.param.name; });

} // namespace
} // namespace kestrova
