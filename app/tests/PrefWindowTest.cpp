// The preferences window on the offscreen platform: it loads its controls when shown, "&Ok"
// writes and closes, "&Cancel" writes nothing but leaves the controls for the Reports window's
// next deactivation, a new language reaches the captions, and CheckBox6 warns only on a
// user's tick, and the report copy folder is chosen through the desktop's folder dialog. Setting
// KESTROVA_WINDOW_PICTURES to a directory keeps a picture of the window.
#include "app/uPref.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "core/testing/FixedSelection.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrova::app {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using testing::FakeDesktop;
using testing::FixedSelection;
using ::testing::IsEmpty;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

// The shipped English language file with one line changed.
std::string languageWith(int line, const std::string& text) {
    Lines lines = readLines(fs::path(KESTROVA_SOURCE_DIR) / "data" / "English.lng");
    lines.at(static_cast<std::size_t>(line - 1)) = text;
    return joinLines(lines);
}

class PrefWindowTest : public ::testing::Test {
protected:
    PrefWindowTest() {
        fake.documents.pdfProgram = "viewer";
        writeFile(dir / "Kestrova.ini", "ReportHeader=Acme\r\nDayorNight=Night\r\n");
        writeFile(dir / "English.lng", languageWith(82, "&Ok"));
        writeFile(dir / "Deutsch.lng", languageWith(82, "&Bestaetigen"));
        reloadSettings();
    }
    void reloadSettings() {
        Settings s;
        context.settingsFile.LoadSettings(s, fake.documents, nullptr);
        context.settings.set(s);
    }
    QCheckBox* box(const char* name) { return window.findChild<QCheckBox*>(name); }
    QPushButton* button(const char* name) { return window.findChild<QPushButton*>(name); }
    QListWidget* languages() { return window.findChild<QListWidget*>("ListBox1"); }
    std::vector<std::string> log() const {
        const fs::path file = dir / "LG202403.txt";
        return fileExists(file) ? readLines(file) : Lines{};
    }
    void picture(const char* name) {
        if (const char* keep = std::getenv("KESTROVA_WINDOW_PICTURES"))
            window.grab().save(QString(keep) + "/" + name);
    }

    TempDir dir;
    FakeDesktop fake;
    ProgramContext context{dir.path(), fake.desktop, "1"};
    TfrmPref window{context};
};

TEST_F(PrefWindowTest, ShowingLoadsTheControlsAndOkWritesTheChangeAndCloses) {
    window.open();
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Preferences");
    EXPECT_TRUE(box("CheckBox2")->isChecked());
    EXPECT_EQ(window.findChild<QLineEdit*>("Edit1")->text(), "Acme");
    ASSERT_EQ(languages()->count(), 2);
    EXPECT_EQ(languages()->item(0)->text(), "Deutsch");
    EXPECT_EQ(languages()->currentItem()->text(), "English");
    picture("TfrmPref.png");

    QTest::mouseClick(box("CheckBox2"), Qt::LeftButton);
    QTest::mouseClick(button("Button1"), Qt::LeftButton);

    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(readFile(dir / "Kestrova.ini"),
              "ReportHeader=Acme\r\nDayorNight=Night\r\nUploadKestrovaData=F\r\n");
    EXPECT_THAT(log(), ElementsAre("\"2024/03/05 14:07.09\",\"All\",\"Upload Kestrova Data "
                                   "Changed to Disabled\""));
    EXPECT_FALSE(context.settings.get().uploadKestrovaData);
}

TEST_F(PrefWindowTest, CancelledChangeIsWrittenByTheNextDeactivationUnlessShownAgain) {
    window.open();
    QTest::mouseClick(box("CheckBox7"), Qt::LeftButton);
    QTest::mouseClick(button("Button2"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_THAT(log(), IsEmpty());

    // Showing again reloads the controls: the abandoned change is gone.
    window.open();
    window.reject();
    window.SavePreferences();
    EXPECT_THAT(log(), IsEmpty());

    // Abandoned without a new showing: the Reports window's deactivation writes it.
    window.open();
    QTest::mouseClick(box("CheckBox7"), Qt::LeftButton);
    window.reject();
    window.SavePreferences();
    EXPECT_THAT(log(), ElementsAre(::testing::HasSubstr("Remove Duplicate Points Changed to "
                                                        "Disabled")));
}

TEST_F(PrefWindowTest, ReportsWindowChoicesAreStoredThroughTheWriter) {
    FixedSelection reports;
    reports.site = 0;
    reports.kind = 3; // the record's kind already: nothing for it
    reports.night = false;
    window.setReportsSelection(&reports);
    window.FormShow();

    window.SavePreferences();

    EXPECT_THAT(log(), ElementsAre(::testing::HasSubstr("Default report Day or Night changed to "
                                                        "Disabled")));
    EXPECT_FALSE(context.settings.get().nightShift);
}

TEST_F(PrefWindowTest, ANewLanguageIsLoadedAtOnceAndReachesTheCaptions) {
    std::vector<std::string> handedOver;
    window.setAfterLanguageLoad(
        [&](const MessageTable& m) { handedOver.push_back(m.MessageText(1)); });
    window.open();
    EXPECT_EQ(button("Button1")->text(), "&Ok");

    languages()->setCurrentRow(0); // Deutsch
    QTest::mouseClick(button("Button1"), Qt::LeftButton);

    EXPECT_EQ(context.settings.get().languageFile, "Deutsch.lng");
    EXPECT_EQ(handedOver.size(), 1u);
    window.open();
    EXPECT_EQ(button("Button1")->text(), "&Bestaetigen");
}

TEST_F(PrefWindowTest, SaveErrorIsShownAndTheWindowStaysOpen) {
    fs::remove(dir / "Kestrova.ini");
    fs::create_directory(dir / "Kestrova.ini");
    window.open();
    QTest::mouseClick(box("CheckBox1"), Qt::LeftButton);
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    EXPECT_EQ(fake.dialogs.errors.size(), 1u);
    EXPECT_TRUE(window.isVisible());
    window.reject();
}

TEST_F(PrefWindowTest, OnlyAUsersTickOfCheckBox6Warns) {
    window.open();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(window.isActiveWindow());
    QTest::mouseClick(box("CheckBox6"), Qt::LeftButton); // ticked
    QTest::mouseClick(box("CheckBox6"), Qt::LeftButton); // unticked
    EXPECT_THAT(fake.dialogs.information, ElementsAre("Warning this could result in loss of Data"));

    // Loading a ticked setting shows nothing.
    context.settingsFile.SetSetting("DiscardUnknownCheckpoints", "T");
    reloadSettings();
    window.FormShow();
    EXPECT_TRUE(box("CheckBox6")->isChecked());
    EXPECT_EQ(fake.dialogs.information.size(), 1u);
    window.reject();
}

TEST_F(PrefWindowTest, ReportCopyFolderIsChosenShownAndTurnedOff) {
    const fs::path copies = dir / ".." / (dir.path().filename().string() + "-copies");
    fake.dialogs.folderAnswers = {copies};
    window.open();
    QLineEdit* field = window.findChild<QLineEdit*>("Edit2");
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->isReadOnly());
    EXPECT_EQ(field->text(), "");
    EXPECT_FALSE(button("Button4")->isEnabled());

    QTest::mouseClick(button("Button3"), Qt::LeftButton);
    ASSERT_EQ(fake.dialogs.folderRequests.size(), 1u);
    EXPECT_EQ(fake.dialogs.folderRequests[0].directory, dir.path());
    EXPECT_EQ(field->text().toStdString(), copies.string());
    picture("TfrmPref-copies.png");
    QTest::mouseClick(button("Button1"), Qt::LeftButton);

    EXPECT_EQ(readFile(dir / "Kestrova.ini"), "ReportHeader=Acme\r\nDayorNight=Night\r\n"
                                              "ReportCopyFolder=" +
                                                  copies.string() + "\r\n");
    EXPECT_EQ(context.settings.get().reportCopyFolder, copies.string());

    // Shown again: the stored folder; "No copies" empties it and "&Ok" stores the empty value.
    window.open();
    EXPECT_EQ(field->text().toStdString(), copies.string());
    ASSERT_TRUE(button("Button4")->isEnabled());
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    EXPECT_EQ(field->text(), "");
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    EXPECT_EQ(context.settings.get().reportCopyFolder, "");
    EXPECT_THAT(log(), ElementsAre(::testing::HasSubstr("Report copy folder Changed to "),
                                   ::testing::HasSubstr("Report copies Disabled")));
}

TEST_F(PrefWindowTest, AReportCopyFolderInsideTheProgramDirectoryIsRefused) {
    fs::create_directories(dir / "North Gate");
    fake.dialogs.folderAnswers = {dir / "North Gate"};
    window.open();
    QTest::mouseClick(button("Button3"), Qt::LeftButton);
    EXPECT_EQ(window.findChild<QLineEdit*>("Edit2")->text(), "");
    EXPECT_THAT(fake.dialogs.errors, ElementsAre(std::string(kCopyFolderInsideProgram)));
    window.reject();
}

} // namespace
} // namespace kestrova::app
