#include "app/DesktopProgram.h"
#include "app/MainWidgets.h"
#include "app/uMain.h"
#include "core/FileNames.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "core/windows/Captions.h"
#include "sim/BatonFile.h"
#include "sim/UploadScript.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <array>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <set>
#include <thread>

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

// The modal window that `trigger` opens: `inside` runs in it, then it is closed. Empty when
// nothing opened.
QString openedBy(const std::function<void()>& trigger,
                 const std::function<void(QDialog&)>& inside = {}) {
    QString opened;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !opened.isEmpty())
            return;
        opened = dialog->objectName();
        if (inside)
            inside(*dialog);
        dialog->reject();
    });
    poll.start();
    trigger();
    poll.stop();
    return opened;
}

// Every menu entry, large button and hidden key that opens a window opens its own.
struct OpenCase {
    const char* name;
    const char* control; // an action, a picture button, or a key
    bool isKey;
    const char* window;
};

class Opening : public MainWindowTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(Opening, OpensItsWindowModal) {
    ASSERT_TRUE(startUp());
    const OpenCase& c = GetParam();
    const QString opened = openedBy([&] {
        if (c.isKey)
            window->FormKeyPress(c.control[0]);
        else if (auto* action = control<QAction>(c.control))
            action->trigger();
        else if (auto* button = control<PictureButton>(c.control))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            ADD_FAILURE() << "no control " << c.control;
    });
    EXPECT_EQ(opened.toStdString(), c.window);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, Opening,
    ::testing::Values(OpenCase{"NewReport", "New1", false, "TfrmNew"},
                      OpenCase{"OpenReport", "Open1", false, "TfrmNew"},
                      OpenCase{"Preferences", "Preferences1", false, "TfrmPref"},
                      OpenCase{"Checkpoints", "Checkpoints1", false, "Tfrmpoints"},
                      OpenCase{"IdNumber", "IdNumber1", false, "TfrmIdNum"},
                      OpenCase{"FailedPatrol", "FailedPatrol1", false, "TfrmFPSetup"},
                      OpenCase{"About", "About1", false, "TfrmAbout"},
                      OpenCase{"ReportsButton", "btnReports", false, "TfrmNew"},
                      OpenCase{"CheckpointsButton", "btnCheckpoints", false, "Tfrmpoints"},
                      OpenCase{"OptionsButton", "btnOptions", false, "TfrmPref"},
                      OpenCase{"HelpButton", "btnHelp", false, "TfrmAbout"},
                      OpenCase{"PortSetupKey", "#", true, "TfrmDelay"},
                      OpenCase{"LogViewerKey", "(", true, "TfrmLogFile"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(MainWindowTest, EveryWindowIsCreatedAtStartUpExceptAboutAndTheLogViewer) {
    ASSERT_TRUE(startUp());
    for (const std::string& name : windowCreationOrder()) {
        QDialog* created = window->windows().window(name);
        ASSERT_NE(created, nullptr) << name;
        EXPECT_EQ(created->objectName().toStdString(), name);
    }
    EXPECT_EQ(window->windows().window("TfrmAbout"), nullptr);
    EXPECT_EQ(window->windows().window("TfrmLogFile"), nullptr);
}

TEST_F(MainWindowTest, TheCheckpointEditorAndTheReportsWindowOpenOnTheDefaultSite) {
    writeFile(dir / "Kestrova.ini", readFile(dir / "Kestrova.ini") + "DefaultSite=1\r\n");
    ASSERT_TRUE(startUp());
    int editorSite = -1;
    int reportsSite = -1;
    openedBy([&] { control<QAction>("Checkpoints1")->trigger(); },
             [&](QDialog& editor) {
                 editorSite = editor.findChild<QListWidget*>("ListBox1")->currentRow();
             });
    openedBy([&] { control<QAction>("New1")->trigger(); },
             [&](QDialog& reports) {
                 reportsSite = reports.findChild<QComboBox*>("Listbox1")->currentIndex();
             });
    EXPECT_EQ(editorSite, 1);
    EXPECT_EQ(reportsSite, 1);
}

TEST_F(MainWindowTest, TheSettingsWriterStoresTheReportsWindowsChoices) {
    ASSERT_TRUE(startUp());
    openedBy([&] { control<QAction>("New1")->trigger(); },
             [&](QDialog& reports) {
                 reports.findChild<QRadioButton*>("RadioButton1")->click(); // by download
             });
    openedBy([&] { control<QAction>("Preferences1")->trigger(); },
             [&](QDialog& preferences) {
                 preferences.findChild<QPushButton*>("Button1")->click(); // "&Ok"
             });
    EXPECT_NE(readFile(dir / "Kestrova.ini").find("DefaultReport=1\r\n"), std::string::npos)
        << readFile(dir / "Kestrova.ini");
}

TEST_F(MainWindowTest, AnIdButtonReadAtTheStationReachesTheEditorsSite) {
    writeFile(dir / "Kestrova.ini", readFile(dir / "Kestrova.ini") + "DefaultSite=1\r\n");
    ASSERT_TRUE(startUp());
    const std::string site = program->context().sites.at(1).value();
    // As the comms thread hands it over: queued to this thread, added there.
    std::thread comms([&] { program->idButtons().IdButtonRead("00ABCD"); });
    comms.join();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return readFile(dir / site / "checkpt.lst").find("00ABCD") != std::string::npos; },
        2000));
}

// Captions of the language file that have no control in this program's windows, and why.
const std::set<std::pair<std::string, std::string>> kCaptionsWithoutControl = [] {
    std::set<std::pair<std::string, std::string>> keys{
        // A file dialog's title: the window reads it from the table when it asks.
        {"TfrmMain", "OpenDialog1"},
        // The second line of the site list's heading, which this window does not show (its
        // list is headed "Site Name").
        {"TfrmFPSetup", "Label3"},
    };
    // The Reports window's older step-by-step layout (steps, the site's schedule summary and
    // day captions); this window shows the controls of its two layouts only.
    for (const char* control :
         {"GroupBox2", "GroupBox3", "GroupBox6", "GroupBox7", "Label6",  "Label9",
          "Label10",   "Label11",   "Label12",   "Label13",   "Label15", "Label16",
          "Label17",   "Label19",   "Label20",   "Label21",   "Label22", "Label23",
          "Label24",   "Label25",   "Label26",   "Label27",   "Label34", "Label37",
          "Label38",   "Label39",   "Label40",   "Label41",   "Label42", "Label43"})
        keys.insert({"TfrmNew", control});
    return keys;
}();

// Every other caption the language file can set finds its control in the window it names: the
// main window, the windows made at start-up, and those made when opened (About, the log
// viewer).
TEST_F(MainWindowTest, EveryCaptionKeyFindsItsControl) {
    ASSERT_TRUE(startUp());
    const CaptionTable& captions = program->context().captions;
    std::set<std::string> names;
    for (const auto& [key, text] : captions.entries())
        names.insert(key.window);
    std::map<std::string, std::vector<CaptionKey>> missed;
    for (const std::string& name : names) {
        const auto check = [&](QWidget& widget) {
            missed[name] = windows::applyCaptions(widget, captions, name);
        };
        if (name == "TfrmMain")
            check(*window);
        else if (QDialog* kept = window->windows().window(name))
            check(*kept);
        else if (window->windows().registered(name))
            openedBy([&] { window->windows().openModal(name); }, check);
        else
            ADD_FAILURE() << name << " is no window of the program";
    }
    for (const auto& [name, keys] : missed)
        for (const CaptionKey& key : keys)
            if (!kCaptionsWithoutControl.count({key.window, key.control}))
                ADD_FAILURE() << "no control for " << name << "." << key.control << "[" << key.index
                              << "]";
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

// Virtual time that waits, before each of the link's waits, until the status line has shown
// the last status text written: without it the whole download passes between two ticks of
// the window's timer and the status line shows only its end.
class PacedClock : public sim::SimClock {
public:
    explicit PacedClock(std::function<bool()> caughtUp) : caughtUp_(std::move(caughtUp)) {}
    std::int64_t nowNs() const override { return inner_.nowNs(); }
    void sleepUntilNs(std::int64_t deadlineNs, std::stop_token stop) override {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!caughtUp_() && !stop.stop_requested() && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        inner_.sleepUntilNs(deadlineNs, stop);
    }

private:
    sim::VirtualClock inner_;
    std::function<bool()> caughtUp_;
};

TEST_F(MainWindowTest, ASimulatedUploadIsShownFromStationToReports) {
    // Every status text the link and processing write, in order, and how many of them the
    // status line has caught up with.
    std::mutex mutex;
    QStringList written;
    std::atomic<int> shown{0};
    PacedClock paced([&] {
        const std::lock_guard lock(mutex);
        return shown.load() >= written.size();
    });
    program = std::make_unique<DesktopProgram>(fake.desktop, ProgramOptions{dir.path(), &paced});
    MainState& state = program->state();
    state.subscribe([&](MainField field) {
        if (field != MainField::StatusText)
            return;
        const QString text = QString::fromStdString(state.statusText());
        const std::lock_guard lock(mutex);
        if (written.isEmpty() || written.back() != text)
            written.append(text);
    });
    window = std::make_unique<TfrmMain>(
        *program, Installation{install.path(), std::span<const VitalFile>(vital)});
    window->setTimerInterval(1);
    // On the user-interface thread: what the status line has shown against what was written.
    QTimer follow;
    QObject::connect(&follow, &QTimer::timeout, [&] {
        const QStringList& history = window->statusHistory();
        const std::lock_guard lock(mutex);
        if (!written.isEmpty() && !history.isEmpty() && history.back() == written.back())
            shown.store(static_cast<int>(written.size()));
    });
    follow.start(1);
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->started(); }, 10000));

    // Gone before the locals above: the comms thread sleeps on `paced` and writes to `written`.
    const std::shared_ptr<void> stopFirst(nullptr, [&](void*) {
        window.reset();
        program.reset();
    });

    // How far Gauge1 went in the download's span (the baton's identification counts to 12).
    auto* gauge = control<QProgressBar>("Gauge1");
    double furthest = 0;
    QObject::connect(gauge, &QProgressBar::valueChanged, [&](int value) {
        if (gauge->maximum() > 12)
            furthest = std::max(furthest, static_cast<double>(value) / gauge->maximum());
    });
    // The upload holds an unknown id: the unknown-checkpoint window asks; its title bar
    // closes it, which ignores the clocking.
    QStringList asked;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            asked.append(dialog->objectName());
            dialog->reject();
        }
    });
    answer.start(5);

    const auto baton =
        sim::parseBatonFile(readFile(dir / "demo-baton.txt"), fake.desktop.clock.now());
    sim::UploadScript script(state, *program->station(), program->context().messages, baton,
                             std::stop_source());
    ASSERT_TRUE(QTest::qWaitFor([&] { return script.finished(); }, 60000));
    QTest::qWait(100);
    answer.stop();
    follow.stop();

    const Lines raw = readLines(resolveInDirectory(dir.path(), "Raw.txt"));
    ASSERT_FALSE(raw.empty());
    EXPECT_EQ(raw.front(), "Id : KEST0042");
    EXPECT_EQ(raw.back(), "Done");
    EXPECT_EQ(asked, QStringList{"TfrmUnknownP"});
    EXPECT_EQ(control<QLabel>("lblID")->text().toStdString(), state.label(Label::Id).text);
    EXPECT_GT(furthest, 0.5);
    EXPECT_EQ(gauge->value(), std::min<std::int64_t>(state.gauge().progress, gauge->maximum()));

    // From the station search on (start-up's own lines come before the timer runs), the status
    // line showed every text written, in the order written, through the download to processing.
    const std::lock_guard lock(mutex);
    const QStringList& history = window->statusHistory();
    int from = 0;
    const auto searching = written.indexOf("Looking for Kestrova...");
    ASSERT_GE(searching, 0) << written.join(" | ").toStdString();
    for (const QString& text : written.mid(searching)) {
        const int at = static_cast<int>(history.indexOf(text, from));
        ASSERT_GE(at, 0) << "not shown in order: " << text.toStdString()
                         << "\nwritten: " << written.join(" | ").toStdString()
                         << "\nshown: " << history.join(" | ").toStdString();
        from = at + 1;
    }
    const auto position = [&](const QString& text) {
        return static_cast<int>(written.indexOf(text));
    };
    const MessageTable& m = program->context().messages;
    const auto message = [&](int n) { return QString::fromStdString(m.MessageText(n)); };
    const int looking = position("Looking for Kestrova...");
    const int processing = position(message(37));
    EXPECT_GE(looking, 0);
    EXPECT_GT(processing, looking);
    // Between them the download's own lines.
    EXPECT_GT(processing - looking, 2) << written.join(" | ").toStdString();
}

} // namespace
} // namespace kestrova::app
