// The Reports window and the log viewer, offscreen: the kind rule reaches the widgets, the
// layout toggle shows the advanced group, "Create/Open" builds a clocking list and closes the
// window, deactivation runs the settings writer; the log viewer loads the chosen months and
// saves them.
#include "core/SiteList.h"
#include "core/SiteSetup.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
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
