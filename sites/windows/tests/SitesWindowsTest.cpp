// The sites windows offscreen, driven through their controls as a user drives them.
#include "sites/windows/SitesWindows.h"

#include "core/ProgramContext.h"
#include "core/windows/WindowText.h"
#include "link/tests/LinkHarness.h"
#include "sim/UploadScript.h"
#include "sites/windows/uSiteDel.h"
#include "sites/windows/ufpsetup.h"
#include "sites/windows/uinpubox.h"
#include "sites/windows/upoints.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <thread>

namespace kestrova::windows {
namespace {

using testing::LinkHarness;
namespace fs = std::filesystem;

// The harness's program directory and shared state, with the windows over them.
class SitesWindowsTest : public ::testing::Test {
protected:
    SitesWindowsTest() : context(h.dir.path(), h.desktop.desktop, "1") {
        context.messages.SetDefaultMessages();
        for (const char* site : {"Depot", "Harbour"})
            fs::create_directories(h.dir / site / "Raw");
        context.sites.reset({"Depot", "Harbour"});
        ids({"000001", "000002", "000003", "000004", "000005"});
    }

    // Depot's list: these ids, named "Point 1", "Point 2", ...
    void ids(const std::vector<std::string>& list, ScheduleValues values = blankSchedule()) {
        std::vector<Checkpoint> checkpoints;
        for (std::size_t i = 0; i < list.size(); ++i)
            checkpoints.push_back({list[i], kOrdinaryMark, "Point " + std::to_string(i + 1)});
        SaveCheckpointList(h.dir.path(), "Depot", checkpoints, values);
    }
    static ScheduleValues blankSchedule() {
        ScheduleValues v;
        v.fill("01h00");
        v[kRoundTime] = "015";
        v[kRestTime] = "010";
        v[kNumBatons] = "1";
        v[kFailedPatrolType] = "0";
        return v;
    }

    Tfrmpoints& openEditor() {
        windows.emplace(context, h.state, std::nullopt, nullptr);
        Tfrmpoints& w = windows->checkpointWindow();
        w.FormShow(std::nullopt);
        return w;
    }
    template <typename T> T* control(QWidget& w, const char* name) {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTreeWidget* rows(QWidget& w) { return control<QTreeWidget>(w, "ListView"); }
    std::vector<std::string> column(QWidget& w, int c) {
        std::vector<std::string> out;
        for (int i = 0; i < rows(w)->topLevelItemCount(); ++i)
            out.push_back(toBytes(rows(w)->topLevelItem(i)->text(c)));
        return out;
    }
    void clickRow(QWidget& w, int row) {
        QTreeWidget* list = rows(w);
        const QRect area = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, area.center());
    }
    // Runs `step` once the next modal window is up.
    static void whenModal(std::function<void(QWidget&)> step) {
        QTimer::singleShot(0, [step] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            step(*modal);
        });
    }
    std::vector<Checkpoint> saved() const {
        return LoadCheckpointList(h.dir.path(), "Depot").checkpoints;
    }

    LinkHarness h;
    ProgramContext context;
    std::optional<SitesWindows> windows;
};

TEST_F(SitesWindowsTest, AnIdTypedIntoTheInputBoxIsAdded) {
    Tfrmpoints& w = openEditor();
    whenModal([](QWidget& box) {
        auto* field = box.findChild<QLineEdit*>(QStringLiteral("MaskEdit1"));
        QTest::keyClicks(field, QStringLiteral("ab-c1o2"));
        EXPECT_EQ(field->text(), QStringLiteral("ABC1O2"));
        QTest::keyClick(field, Qt::Key_Return);
    });
    QTest::mouseClick(control<QPushButton>(w, "btnAdd"), Qt::LeftButton);
    EXPECT_EQ(column(w, 1).back(), "ABC102");
    EXPECT_EQ(column(w, 0).back(), "6");
    EXPECT_EQ(saved().back().name, "Unknown checkpoint");

    whenModal([](QWidget& box) {
        QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    });
    QTest::mouseClick(control<QPushButton>(w, "btnAdd"), Qt::LeftButton);
    EXPECT_EQ(rows(w)->topLevelItemCount(), 6);
}

TEST_F(SitesWindowsTest, DeletingTwoOfFiveRowsKeepsTheOtherNumbers) {
    Tfrmpoints& w = openEditor();
    clickRow(w, 2);
    QTest::mouseClick(rows(w)->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      rows(w)->visualItemRect(rows(w)->topLevelItem(3)).center());
    h.desktop.dialogs.confirmAnswers = {true};
    QTest::mouseClick(control<QPushButton>(w, "btnDeleate"), Qt::LeftButton);
    EXPECT_EQ(column(w, 0), (std::vector<std::string>{"1", "2", "5"}));
    EXPECT_EQ(column(w, 1), (std::vector<std::string>{"000001", "000002", "000005"}));
    EXPECT_EQ(saved().size(), 3u);
}

TEST_F(SitesWindowsTest, MovingAndTheSeparatorAreSaved) {
    Tfrmpoints& w = openEditor();
    clickRow(w, 0);
    EXPECT_TRUE(control<QLineEdit>(w, "edtLocation")->isEnabled());
    QTest::mouseClick(control<QPushButton>(w, "Button4"), Qt::LeftButton);
    EXPECT_EQ(column(w, 1)[1], "000001");
    EXPECT_EQ(column(w, 0)[1], "2");
    EXPECT_EQ(saved()[1].id, "000001");

    auto* separator = control<QComboBox>(w, "ComboBox1");
    ASSERT_EQ(separator->count(), 6);
    EXPECT_EQ(toBytes(separator->itemText(3)), "(000003) Point 3");
    separator->setCurrentIndex(3);
    emit separator->activated(3);
    EXPECT_EQ(saved()[2].mark, '#');
    emit separator->activated(0);
    for (const Checkpoint& c : saved())
        EXPECT_EQ(c.mark, '=');
}

// The comms thread runs the session against the simulated station while the editor shows;
// an Id button touched there appears in the editor's list and in the site's file.
TEST_F(SitesWindowsTest, AButtonReadAtTheStationAppearsWhileTheEditorShows) {
    Tfrmpoints& w = openEditor();
    h.state.subscribe([this](MainField field) {
        if (field == MainField::StationChecked && h.state.stationChecked())
            h.station.touchIdButton(0x00, 0xC0, 0xDE);
    });
    std::stop_source stop;
    std::thread comms([&] {
        RunComms(LinkServices{h.dir.path(), "7", h.router, h.clock, h.state, h.messages,
                              h.settingsFile, [this] { return h.settings; }, h.wall,
                              h.desktop.beeper, h.ui, h.processor, h.adminLog,
                              windows->idButtons()},
                 stop.get_token());
    });
    QElapsedTimer waited;
    waited.start();
    while (rows(w)->topLevelItemCount() < 6 && waited.elapsed() < 10'000)
        QTest::qWait(10);
    stop.request_stop();
    comms.join();
    ASSERT_EQ(rows(w)->topLevelItemCount(), 6);
    EXPECT_EQ(column(w, 1).back(), "00C0DE");
    EXPECT_EQ(saved().back().id, "00C0DE");
}

TEST_F(SitesWindowsTest, ProgrammingFillsTheNextSimulatedBaton) {
    auto values = blankSchedule();
    values[kFailedPatrolType] = "1";
    values[kRestTime] = "000";
    values[kFirstDayTime] = "02h00";
    values[kFirstDayTime + 1] = "03h00";
    ids({"A1B2C3", "000002", "000003"}, values);
    Tfrmpoints& w = openEditor();
    auto* program = control<QPushButton>(w, "Button5");
    ASSERT_TRUE(program->isEnabled());
    QTest::mouseClick(program, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible()); // programming closes the editor
    ASSERT_TRUE(h.state.writePending());

    sim::SimBaton baton;
    baton.clock = LocalDateTime{2025, 3, 14, 10, 0, 0, 0};
    sim::UploadScript script(h.state, h.station, h.messages, baton, h.stop);
    h.run();
    ASSERT_TRUE(script.batonAfter());
    const auto records = script.batonAfter()->clockings(0);
    ASSERT_EQ(records.size(), 1u + 2u + 3u);
    EXPECT_EQ((std::array<std::uint8_t, 3>{records[0][0], records[0][1], records[0][2]}),
              (std::array<std::uint8_t, 3>{0xA1, 0xB2, 0xC3}));
    EXPECT_EQ(records[5][2], 0x03);
    EXPECT_FALSE(h.state.writePending());
}

TEST_F(SitesWindowsTest, AScheduleFieldTurnsRedAndAutoCorrectPutsItRight) {
    auto values = blankSchedule();
    values[kFailedPatrolType] = "1";
    values[kRestTime] = "000";
    ids({"000001"}, values);
    Tfrmpoints& w = openEditor();
    auto* rest = control<QLineEdit>(w, "MaskEdit4");
    rest->selectAll();
    QTest::keyClicks(rest, QStringLiteral("10"));
    EXPECT_TRUE(control<QWidget>(w, "Label13")->isVisibleTo(&w));
    EXPECT_FALSE(control<QPushButton>(w, "Button5")->isEnabled());
    QTest::mouseClick(control<QPushButton>(w, "Button6"), Qt::LeftButton);
    EXPECT_EQ(rest->text(), QStringLiteral("000"));
    EXPECT_FALSE(control<QWidget>(w, "Label13")->isVisibleTo(&w));
    EXPECT_EQ(LoadCheckpointList(h.dir.path(), "Depot").schedule[kRestTime], "000");
}

TEST_F(SitesWindowsTest, ASiteWithoutCheckpointsIsDeletedFromThePopUpMenu) {
    Tfrmpoints& w = openEditor();
    auto* sites = control<QListWidget>(w, "ListBox1");
    QTest::mouseClick(sites->viewport(), Qt::LeftButton, {},
                      sites->visualItemRect(sites->item(1)).center());
    control<QAction>(w, "Delete2")->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(fs::exists(h.dir / "Harbour"));
    EXPECT_EQ(h.desktop.trash.trashed, std::vector<fs::path>{h.dir / "Harbour"});
    EXPECT_TRUE(h.state.closeRequested());
}

TEST_F(SitesWindowsTest, ASiteWithCheckpointsIsDeletedOnlyWhenItsNameIsTyped) {
    Tfrmpoints& w = openEditor();
    for (const char* typed : {"Depot ", "dEPOT"}) {
        whenModal([typed](QWidget& confirm) {
            auto* field = confirm.findChild<QLineEdit*>(QStringLiteral("Edit1"));
            QTest::keyClicks(field, QString::fromLatin1(typed));
            QTest::keyClick(field, Qt::Key_Return);
        });
        control<QAction>(w, "Delete2")->trigger();
    }
    EXPECT_EQ(h.desktop.dialogs.information.front(), "Site could not be removed");
    EXPECT_FALSE(fs::exists(h.dir / "Depot"));
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(h.state.closeRequested());
}

TEST_F(SitesWindowsTest, TheFailedPatrolWindowCorrectsItsFieldsAndPrograms) {
    windows.emplace(context, h.state, std::nullopt, nullptr);
    TfrmFPSetup& w = windows->failedPatrolWindow();
    w.FormShow();
    w.show();
    auto* ok = control<QPushButton>(w, "Button1");
    EXPECT_FALSE(ok->isEnabled());
    auto* round = control<QLineEdit>(w, "MaskEdit1");
    round->selectAll();
    QTest::keyClicks(round, QStringLiteral("44"));
    emit round->editingFinished();
    EXPECT_EQ(round->text(), QStringLiteral("030"));
    auto* sites = control<QListWidget>(w, "ListBox1");
    QTest::mouseClick(sites->viewport(), Qt::LeftButton, {},
                      sites->visualItemRect(sites->item(0)).center());
    ASSERT_TRUE(ok->isEnabled());
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    // 30 minutes: 2 copies, start and finish hour 1: one each, then one of each other id.
    EXPECT_EQ(h.state.storeLen(), 2 + 1 + 1 + 2);
}

// Renders the four windows over this fixture when KESTROVA_RENDER_DIR names a directory, so
// that a person can look at them; it checks nothing else.
TEST_F(SitesWindowsTest, RenderWindowsToPng) {
    const QString out = qEnvironmentVariable("KESTROVA_RENDER_DIR");
    if (out.isEmpty())
        GTEST_SKIP() << "set KESTROVA_RENDER_DIR to render the windows";
    QDir().mkpath(out);
    auto values = blankSchedule();
    values[kFailedPatrolType] = "1";
    values[kRestTime] = "010";
    values[kFirstDayTime + 2] = "03h00";
    ids({"A1B201", "A1B202", "A1B203"}, values);
    Tfrmpoints& points = openEditor();
    clickRow(points, 1);
    EXPECT_TRUE(points.grab().save(out + "/Tfrmpoints.png"));
    TfrmInputBox& box = points.inputBox();
    box.FormShow();
    box.show();
    EXPECT_TRUE(box.grab().save(out + "/TfrmInputBox.png"));
    TfrmSiteDel& del = points.siteDel();
    del.FormShow();
    del.show();
    EXPECT_TRUE(del.grab().save(out + "/TfrmSiteDel.png"));
    TfrmFPSetup& fp = windows->failedPatrolWindow();
    fp.FormShow();
    fp.show();
    EXPECT_TRUE(fp.grab().save(out + "/TfrmFPSetup.png"));
}

} // namespace
} // namespace kestrova::windows
