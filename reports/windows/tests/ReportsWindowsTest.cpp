// The Reports window and the log viewer, offscreen: the kind rule reaches the widgets, the
// layout toggle shows the advanced group, "Create/Open" builds a clocking list and closes the
// window, deactivation runs the settings writer; the log viewer loads the chosen months and
// saves them.
#include "core/CheckpointList.h"
#include "core/SiteList.h"
#include "core/SiteSetup.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "core/testing/Schedules.h"
#include "reports/RequestChooser.h"
#include "reports/testing/StubReports.h"
#include "reports/windows/uLogfile.h"
#include "reports/windows/uNew.h"
#include "reports/windows/uOpen.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <cstdio>
#include <gtest/gtest.h>

namespace kestrova::testing {
namespace {

using reports_windows::ReportServices;
using reports_windows::TfrmLogFile;
using reports_windows::TfrmNew;
using reports_windows::TfrmOpen;

class CountingWriter : public PreferencesWriter {
public:
    void SavePreferences() override { ++saves; }
    int saves = 0;
};

template <typename T> T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class ReportsWindows : public ::testing::Test {
protected:
    ReportsWindows() {
        std::filesystem::create_directories(dir / "Depot" / "Raw");
        writeFile(dir / "Depot" / "checkpt.lst",
                  "//Checkpoint list for Depot\r\n\r\n00A1F3 = Gate\r\n\r\n//End of File\r\n");
        writeFile(dir / "Depot" / "Raw" / "240309.txt", "00000000A1F32403091300\r\n");
        fake.clock.time = {2024, 3, 10, 9, 0, 0, 0};
        context.messages.SetDefaultMessages();
        context.sites.reset(BuildSiteList(dir.path()));
        LoadSiteIndex(context);
        context.settings.update([](Settings& s) { s.openReportAfterProcessing = false; });
    }
    TempDir dir;
    FakeDesktop fake;
    ProgramContext context{dir.path(), fake.desktop, "1"};
    MainState state;
    NoPdf pdf;
    NoChart chart;
    IgnoreUnknownCheckpoints unknown;
    ProcessingServices processing{context, state, unknown, pdf};
};

TEST_F(ReportsWindows, KindsAndLayoutReachTheWidgets) {
    TfrmNew window({context, state, processing, chart});
    window.open();
    auto* list = child<QTreeWidget>(window, "ListView1");
    auto* toCalendar = child<QCalendarWidget>(window, "MonthCalendar2");
    auto* group = child<QGroupBox>(window, "GroupBox4");
    child<QRadioButton>(window, "RadioButton1")->click();
    EXPECT_FALSE(list->isHidden());
    EXPECT_TRUE(toCalendar->isHidden());
    EXPECT_FALSE(child<QPushButton>(window, "Button1")->isEnabled());
    child<QRadioButton>(window, "RadioButton2")->click();
    EXPECT_TRUE(list->isHidden());
    EXPECT_FALSE(toCalendar->isHidden());
    EXPECT_TRUE(group->isHidden());
    child<QPushButton>(window, "Button1")->click();
    EXPECT_FALSE(group->isHidden());
    EXPECT_FALSE(child<QCalendarWidget>(window, "MonthCalendar1")->isHidden());
    EXPECT_EQ(window.selectedReportKind(), 2);
}

// A click on the kind already chosen keeps it: the window must not fall back to another kind.
TEST_F(ReportsWindows, ClickingTheChosenKindAgainKeepsIt) {
    TfrmNew window({context, state, processing, chart});
    window.open();
    for (const char* name : {"RadioButton2", "RadioButton1", "RadioButton3"}) {
        auto* kind = child<QRadioButton>(window, name);
        kind->click();
        const std::optional<int> chosen = window.selectedReportKind();
        kind->click();
        EXPECT_TRUE(kind->isChecked()) << name;
        EXPECT_EQ(window.selectedReportKind(), chosen) << name;
    }
}

// The overview checks the PDF option (and so SecureReports), after which report by download
// lists the site's ".pdf" reports. A site with text reports only must still be able to show
// them: the option stands beside the list, where the simple layout can reach it.
TEST_F(ReportsWindows, DownloadListShowsThePdfOptionThatPicksItsFiles) {
    writeFile(dir / "Depot" / "08141530.txt", "report");
    writeFile(dir / "Depot" / "09021205.txt", "report");
    TfrmNew window({context, state, processing, chart});
    window.open();
    child<QRadioButton>(window, "RadioButton3")->click();
    child<QRadioButton>(window, "RadioButton1")->click();
    auto* list = child<QTreeWidget>(window, "ListView1");
    auto* pdfOption = child<QCheckBox>(window, "CheckBox4");
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->topLevelItemCount(), 0);
    ASSERT_TRUE(pdfOption->isVisible());
    EXPECT_TRUE(pdfOption->isChecked());
    pdfOption->click();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "15:30");
    EXPECT_FALSE(context.settings.get().secureReports);
    // Back to a kind with the advanced group: the option returns into the group.
    child<QRadioButton>(window, "RadioButton2")->click();
    child<QPushButton>(window, "Button1")->click();
    EXPECT_EQ(pdfOption->parentWidget(), child<QGroupBox>(window, "GroupBox4"));
    EXPECT_TRUE(pdfOption->isVisible());
}

TEST_F(ReportsWindows, CreateOpenBuildsTheListAndCloses) {
    TfrmNew window({context, state, processing, chart});
    window.open();
    child<QRadioButton>(window, "RadioButton2")->click();
    child<QPushButton>(window, "Button2")->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_NE(readFile(dir / "Processed.txt").find("(00A1F3)   Gate"), std::string::npos);
}

// The rows of a CSV file as Python's csv module reads them, one line per row, fields joined by
// "|"; empty when python3 is missing.
std::string csvReadByPython(const std::filesystem::path& file) {
    const std::string command =
        "python3 -c \"import csv,sys\nfor r in csv.reader(open(sys.argv[1],encoding='utf-8-sig',"
        "newline='')): print('|'.join(r))\" '" +
        file.string() + "' 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    pclose(pipe);
    return output;
}

// A Monday patrolled 09h00-12h00 in rounds of 15 + 15 minutes over two checkpoints: one clocking
// makes 1 of the 12 required, so the shift failed and both checkpoints missed points.
void patrolledDepot(const std::filesystem::path& programDir) {
    SaveCheckpointList(programDir, "Depot", {{"AAAAA1", '=', "Gate"}, {"AAAAA2", '=', "Yard"}},
                       testing::everyDaySchedule("015", "015", "09h00", "12h00"));
    writeFile(programDir / "Depot" / "Raw" / "240304.txt", "000000AAAAA12403040900\r\n");
}

TEST_F(ReportsWindows, ExceptionReportAndItsCsvFromTheAdvancedLayout) {
    if (csvReadByPython(dir / "none.csv").find("Error") == std::string::npos)
        GTEST_SKIP() << "python3 not installed";
    patrolledDepot(dir.path());
    fake.dialogs.fileAnswers.push_back(dir / "exceptions.csv");
    TfrmNew window({context, state, processing, chart});
    window.open();
    auto* exceptionKind = child<QRadioButton>(window, "RadioButton6");
    auto* saveCsv = child<QPushButton>(window, "Button3");
    EXPECT_FALSE(exceptionKind->isVisible());
    child<QPushButton>(window, "Button1")->click();
    ASSERT_TRUE(exceptionKind->isVisible());
    exceptionKind->click();
    EXPECT_TRUE(saveCsv->isVisible());
    EXPECT_FALSE(child<QCheckBox>(window, "CheckBox4")->isVisible());
    for (const char* calendar : {"MonthCalendar1", "MonthCalendar2"})
        child<QCalendarWidget>(window, calendar)->setSelectedDate(QDate(2024, 3, 4));
    window.MonthCalendarClick();
    saveCsv->click();

    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.model().written(),
              (std::vector<std::filesystem::path>{dir / "Exceptions.txt", dir / "Exceptions.pdf",
                                                  dir / "exceptions.csv"}));
    EXPECT_NE(readFile(dir / "Exceptions.txt").find("Failed Patrol"), std::string::npos);
    EXPECT_EQ(readFile(dir / "Exceptions.pdf").substr(0, 5), "%PDF-");
    EXPECT_EQ(csvReadByPython(dir / "exceptions.csv"),
              "Date|Time|Site|Type|Interval|Checkpoint Id|Location|Shift Share\n"
              "2024-03-04|09:00:00|Depot|Failed Patrol|03:00:00|||8\n"
              "2024-03-04|09:00:00|Depot|Missed Point|03:00:00|AAAAA1|Gate|8\n"
              "2024-03-04|09:00:00|Depot|Missed Point|03:00:00|AAAAA2|Yard|8\n");
    // Not a default older installations would read.
    EXPECT_EQ(window.selectedReportKind(), std::nullopt);
}

TEST_F(ReportsWindows, ClockingListCsvBesideItsReport) {
    if (csvReadByPython(dir / "none.csv").find("Error") == std::string::npos)
        GTEST_SKIP() << "python3 not installed";
    fake.dialogs.fileAnswers.push_back(dir / "list.csv");
    TfrmNew window({context, state, processing, chart});
    window.open();
    child<QPushButton>(window, "Button1")->click();
    child<QRadioButton>(window, "RadioButton2")->click();
    child<QPushButton>(window, "Button3")->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_NE(readFile(dir / "Processed.txt").find("(00A1F3)   Gate"), std::string::npos);
    EXPECT_EQ(csvReadByPython(dir / "list.csv"), "Date|Time|Site|Checkpoint Id|Location\n"
                                                 "2024-03-09|13:00:00|Depot|00A1F3|Gate\n");
}

TEST_F(ReportsWindows, DeactivationRunsTheSettingsWriter) {
    TfrmNew window({context, state, processing, chart});
    CountingWriter writer;
    window.setPreferencesWriter(&writer);
    window.FormDeactivate();
    EXPECT_EQ(writer.saves, 1);
    EXPECT_TRUE(window.nightShiftChosen());
}

TEST_F(ReportsWindows, LogViewerLoadsChosenMonthsAndSavesThem) {
    writeFile(dir / "LG201203.txt", "\"2012/03/05 14:07.22\",\"Site A\",\"New Site created\"\r\n");
    fake.dialogs.fileAnswers.push_back(dir / "out.csv");
    TfrmLogFile viewer(context);
    viewer.open();
    auto* months = child<QTreeWidget>(viewer, "ListView1");
    ASSERT_EQ(months->topLevelItemCount(), 1);
    EXPECT_EQ(months->topLevelItem(0)->text(0), "March 2012");
    months->topLevelItem(0)->setSelected(true);
    viewer.ListView1MouseUp();
    auto* grid = child<QTreeWidget>(viewer, "ListView2");
    ASSERT_EQ(grid->topLevelItemCount(), 1);
    EXPECT_EQ(grid->topLevelItem(0)->text(2), "New Site created");
    EXPECT_FALSE(months->topLevelItem(0)->isSelected());
    viewer.Button1Click();
    EXPECT_EQ(readFile(dir / "out.csv"),
              "\"Admin Report Created by Kestrova Ver5.28l\"\r\n"
              "\"Date & Time\",\"Site Affected\",\"Action Taken\"\r\n"
              "\"2012/03/05 14:07.22\",\"Site A\",\"New Site created\"\r\n");
    EXPECT_EQ(fake.documents.opened.back(), dir / "out.csv");
}

TEST_F(ReportsWindows, HiddenBrowserFollowsTheSiteList) {
    TfrmOpen browser(context);
    EXPECT_EQ(browser.siteNames(), QStringList{"Depot"});
    context.sites.append("Stores");
    EXPECT_EQ(browser.siteNames(), (QStringList{"Depot", "Stores"}));
}

} // namespace
} // namespace kestrova::testing
