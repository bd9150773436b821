#include "app/DesktopProgram.h"
#include "app/uMain.h"
#include "core/FileNames.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "sim/BatonFile.h"
#include "sim/UploadScript.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QTest>
#include <array>
#include <gtest/gtest.h>

namespace kestrova::app {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

const fs::path kSource = KESTROVA_SOURCE_DIR;

// A program directory made from the demo, an installation with one vital file, the main
// window over fake desktops and the simulated station in virtual time.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        fs::copy(kSource / "demo", dir.path(), fs::copy_options::recursive);
        fs::copy_file(kSource / "data" / "English.lng", dir / "English.lng");
        fs::create_directories(install / "share" / "kestrova");
        writeFile(install / "share" / "kestrova" / "Basic.pdf", "pdf");
    }
    ~MainWindowTest() override {
        if (window)
            window->close();
    }

    void open() {
        program = std::make_unique<DesktopProgram>(fake.desktop,
                                                   ProgramOptions{dir.path(), &virtualTime});
        window = std::make_unique<TfrmMain>(
            *program, Installation{install.path(), std::span<const VitalFile>(vital)});
        window->setTimerInterval(20);
        window->show();
    }
    bool startUp() {
        open();
        return QTest::qWaitFor([&] { return window->started() || window->startUpFailed(); },
                               10000) &&
               window->started();
    }
    template <typename T> T* control(const char* name) { return window->findChild<T*>(name); }

    TempDir dir;
    TempDir install;
    testing::FakeDesktop fake;
    sim::VirtualClock virtualTime;
    std::array<VitalFile, 1> vital{VitalFile{"Basic.pdf", "", "share/kestrova/Basic.pdf"}};
    std::unique_ptr<DesktopProgram> program;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(MainWindowTest, StartUpShowsTheTitleAndStartsTheStationSearch) {
    ASSERT_TRUE(startUp());
    EXPECT_EQ(window->windowTitle(), "Kestrova uploader");
    EXPECT_FALSE(control<QLabel>("Panel1")->isVisible());
    EXPECT_TRUE(program->commsStarted());
    EXPECT_NE(program->station(), nullptr); // COM1=simulator in the demo's settings
    EXPECT_TRUE(fake.dialogs.information.empty());
}

TEST_F(MainWindowTest, AMissingVitalFileOrLanguageFileClosesWithoutTouchingSites) {
    for (const auto& breakIt : std::vector<std::function<void()>>{
             [&] { fs::remove(install / "share" / "kestrova" / "Basic.pdf"); },
             [&] { fs::remove(dir / "English.lng"); }}) {
        fs::remove_all(dir / "Warehouse" / "Raw");
        fake.dialogs.information.clear();
        breakIt();
        EXPECT_FALSE(startUp());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 5000));
        EXPECT_EQ(fake.dialogs.information.size(), 1u);
        EXPECT_FALSE(program->commsStarted());
        EXPECT_FALSE(fs::exists(dir / "Warehouse" / "Raw"));
        window.reset();
        program.reset();
        writeFile(install / "share" / "kestrova" / "Basic.pdf", "pdf");
    }
}

TEST_F(MainWindowTest, NoSiteAsksForTheFirstOne) {
    fs::remove_all(dir / "North Gate");
    fs::remove_all(dir / "Warehouse");
    fake.dialogs.inputAnswers = {std::string(), std::string("bad/name"), std::string("Gate")};
    ASSERT_TRUE(startUp());
    EXPECT_EQ(fake.dialogs.inputRequests.size(), 3u);
    EXPECT_TRUE(fs::exists(dir / "Gate" / "checkpt.lst"));
}

TEST_F(MainWindowTest, HiddenKeysSwitchTheMenuTheTraceViewAndTheBadLuckLabel) {
    ASSERT_TRUE(startUp());
    const QSize normal = window->size();
    window->FormKeyPress('@');
    EXPECT_EQ(window->width(), kTraceWidth);
    window->FormKeyPress('@');
    EXPECT_EQ(window->size(), normal);

    window->FormKeyPress('!');
    EXPECT_TRUE(control<QMenuBar>("MainMenu1")->isVisible());
    EXPECT_EQ(window->height(), normal.height() + kMenuHeight);
    window->FormKeyPress('!');
    EXPECT_FALSE(control<QMenuBar>("MainMenu1")->isVisible());
    EXPECT_EQ(window->size(), normal);

    for (const char key : std::string("Emty"))
        QTest::keyClick(window.get(), key);
    EXPECT_TRUE(control<QLabel>("Label1")->isVisible());
    EXPECT_FALSE(control<QLabel>("lblDateTime")->isVisible());
    QTest::keyClick(window.get(), 'x');
    EXPECT_FALSE(control<QLabel>("Label1")->isVisible());
    EXPECT_TRUE(control<QLabel>("lblDateTime")->isVisible());
}

TEST_F(MainWindowTest, TheClockLineIsRedWhileABatonWriteWaits) {
    ASSERT_TRUE(startUp());
    program->state().setWritePending(true);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return control<QLabel>("lblDateTime")->styleSheet().contains("red"); }, 2000));
    program->state().setWritePending(false);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return control<QLabel>("lblDateTime")->styleSheet().contains("blue"); }, 2000));
}

// Closing: an upload file not marked Done is offered for processing; the answer decides.
struct CloseCase {
    const char* name;
    std::string raw;
    bool asked;
    bool answer;
    bool processed;
};

class Closing : public MainWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(Closing, OffersAnUnprocessedUploadAndDeletesTemporaries) {
    ASSERT_TRUE(startUp());
    writeFile(dir / "Raw.txt", GetParam().raw);
    writeFile(dir / "0.$$$", "x");
    writeFile(dir / "Processed.txt", "x");
    fake.dialogs.confirmAnswers = {GetParam().answer};
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(fake.dialogs.confirmations.size(), GetParam().asked ? 1u : 0u);
    if (GetParam().asked) {
        EXPECT_EQ(fake.dialogs.confirmations[0],
                  "The Recently uploaded data file has Not been processed\r"
                  "Would you like to process it now");
    }
    EXPECT_FALSE(fs::exists(dir / "0.$$$"));
    EXPECT_FALSE(fs::exists(dir / "Processed.txt"));
    const Lines lines = readLines(dir / "Raw.txt");
    EXPECT_EQ(!lines.empty() && lines.back() == "Done", GetParam().processed || !GetParam().asked);
}

const std::string kUpload = "Id : KEST0001\r\n00000000000A2403051405 1\r\n";

INSTANTIATE_TEST_SUITE_P(
    MainWindow, Closing,
    ::testing::Values(CloseCase{"Done", "Id : KEST0001\r\nDone\r\n", false, false, false},
                      CloseCase{"NotDoneAnsweredYes", kUpload, true, true, true},
                      CloseCase{"NotDoneAnsweredNo", kUpload, true, false, false},
                      CloseCase{"Empty", "", true, false, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(MainWindowTest, ASimulatedUploadIsShownFromStationToReports) {
    ASSERT_TRUE(startUp());
    MainState& state = program->state();
    const auto baton =
        sim::parseBatonFile(readFile(dir / "demo-baton.txt"), fake.desktop.clock.now());
    sim::UploadScript script(state, *program->station(), program->context().messages, baton,
                             std::stop_source());
    auto* gauge = control<QProgressBar>("Gauge1");
    bool gaugeFull = false;
    QObject::connect(gauge, &QProgressBar::valueChanged, [&](int value) {
        gaugeFull = gaugeFull || (value == gauge->maximum() && gauge->maximum() > 1);
    });

    ASSERT_TRUE(QTest::qWaitFor([&] { return script.finished(); }, 60000));
    QTest::qWait(100);

    const Lines raw = readLines(resolveInDirectory(dir.path(), "Raw.txt"));
    ASSERT_FALSE(raw.empty());
    EXPECT_EQ(raw.front(), "Id : KEST0042");
    EXPECT_EQ(raw.back(), "Done");
    // In virtual time the whole download passes within one event-loop turn: the bridge shows
    // the gauge once, as the state holds it.
    EXPECT_EQ(gauge->value(), std::min<std::int64_t>(state.gauge().progress, gauge->maximum()));
    (void)gaugeFull;
    EXPECT_EQ(control<QLabel>("lblID")->text().toStdString(), state.label(Label::Id).text);
    // The status line went through the upload in order.
    const QStringList& shown = window->statusHistory();
    const auto at = [&](const QString& text) { return static_cast<int>(shown.indexOf(text)); };
    const int looking = at("Looking for Kestrova...");
    ASSERT_GE(looking, 0) << shown.join(" | ").toStdString();
    EXPECT_LT(at("Initializing please wait..."), looking);
}

} // namespace
} // namespace kestrova::app
