#include "shell/StartUp.h"

#include "core/TraceLog.h"
#include "core/testing/FakeDesktop.h"

#include <array>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using testing::FakeDesktop;
using ::testing::HasSubstr;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

class RecordingTrace : public TraceView {
public:
    void appendTraceLine(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

class FakeStartUpWindow : public StartUpWindow {
public:
    void showLogo(const fs::path& file) override {
        calls.push_back("logo " + file.filename().string());
    }
    void showClockLine() override { calls.push_back("clock"); }
    void showStatusLine(const std::string& text) override { calls.push_back("status " + text); }
    void closeMainWindow() override { calls.push_back("close"); }
    void preselectWindows(const Settings& s) override {
        calls.push_back("preselect " + std::to_string(s.defaultSite));
    }
    void loadPreferences(const Settings&) override { calls.push_back("preferences"); }
    void showTitle(const std::string& title) override { calls.push_back("title " + title); }
    void startComms() override { calls.push_back("comms"); }
    void startUpFinished() override { calls.push_back("finished"); }

    bool called(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    std::vector<std::string> calls;
};

std::string englishLanguage() {
    return readFile(fs::path(KESTROVA_SOURCE_DIR) / "data" / "English.lng");
}

// A program directory with its language file, and an installation with two vital files.
class StartUpTest : public ::testing::Test {
public:
    StartUpTest() : context(dir.path() / "program", fake.desktop, "1", &trace) {
        fs::create_directories(dir / "program");
        fs::create_directories(dir / "install");
        writeFile(dir / "program" / "English.lng", englishLanguage());
        writeFile(dir / "install" / "Basic.pdf", "pdf");
        writeFile(dir / "install" / "logo.gif", "abc");
    }

    StartUpResult start() {
        return RunStartUp(context, state, window, Installation{dir / "install", vital});
    }
    fs::path program(const std::string& name) const { return dir.path() / "program" / name; }
    bool traced(const std::string& text) const {
        for (const auto& line : trace.lines)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    TempDir dir;
    FakeDesktop fake;
    RecordingTrace trace;
    ProgramContext context;
    MainState state;
    FakeStartUpWindow window;
    // MD5 of "abc" is a well-known test vector.
    std::array<VitalFile, 2> vital{VitalFile{"Basic.pdf", "", {}},
                                   VitalFile{"logo.gif", "900150983CD24FB0D6963F7D28E17F72", {}}};
};

TEST_F(StartUpTest, ASoundInstallationWithASiteStartsTheCommsThread) {
    fs::create_directories(program("Gate"));
    writeFile(program("logo.gif"), "gif");
    writeFile(program("Kestrova.ini"), "CommPort=7\r\nDefaultSite=0\r\n");
    state.setCloseRequested(true);
    state.setWritePending(true);
    state.setIdToSet("1234");
    state.setAutoIncrementId(true);

    EXPECT_FALSE(start().fatal);

    EXPECT_THAT(window.calls,
                ElementsAre("logo logo.gif", "clock", "status " + std::string(kCheckingStatus),
                            "preselect 0", "preferences", "title Kestrova uploader", "comms",
                            "finished"));
    EXPECT_EQ(state.portNumber(), 7);
    EXPECT_FALSE(state.closeRequested());
    EXPECT_FALSE(state.writePending());
    EXPECT_EQ(state.idToSet(), "");
    EXPECT_FALSE(state.autoIncrementId());
    EXPECT_EQ(state.statusText(), "Initializing please wait...");
    EXPECT_TRUE(fs::exists(program("Gate") / "checkpt.lst"));
    EXPECT_TRUE(fs::is_directory(program("Gate") / "Raw"));
    EXPECT_TRUE(fake.dialogs.information.empty());
    for (const char* text :
         {"form activated", "flinished language file defaults", "language file loaded",
          "got current directory ", "filtered out root dir", "finished loading all sites liteboxes",
          "finished getting new site", "finished creating lst files if nesisarry",
          "make menu invisible", "started second thread", "setup compleated"})
        EXPECT_TRUE(traced(text)) << text;
}

// Each case: what is wrong, and the messages start-up shows before it closes the window.
struct FatalCase {
    std::string name;
    std::function<void(StartUpTest&)> breakIt;
    std::vector<std::string> messages;
};

class FatalStartUp : public StartUpTest, public ::testing::WithParamInterface<FatalCase> {};

TEST_P(FatalStartUp, ShowsItsMessagesClosesAndTouchesNoSiteFile) {
    fs::create_directories(program("Gate"));
    GetParam().breakIt(*this);

    EXPECT_TRUE(start().fatal);

    EXPECT_EQ(fake.dialogs.information, GetParam().messages);
    EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), "close"), 1);
    EXPECT_FALSE(window.called("comms"));
    EXPECT_FALSE(fs::exists(program("Gate") / "checkpt.lst"));
    EXPECT_FALSE(fs::exists(program("Gate") / "Raw"));
    EXPECT_TRUE(fake.dialogs.inputRequests.empty());
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, FatalStartUp,
    ::testing::Values(
        FatalCase{"MissingVitalFiles",
                  [](StartUpTest& fixture) {
                      fs::remove(fixture.dir / "install" / "Basic.pdf");
                      fs::remove(fixture.dir / "install" / "logo.gif");
                  },
                  {"Basic.pdf is missing, Please reinstall the application",
                   "logo.gif is missing, Please reinstall the application"}},
        FatalCase{
            "CorruptVitalFile",
            [](StartUpTest& fixture) { writeFile(fixture.dir / "install" / "logo.gif", "abd"); },
            {"logo.gif appears to be corrupt, Please reinstall the "
             "application\r4911E516E5AA21D327512E0C8B197616"}},
        FatalCase{"UnreadableVitalFile",
                  [](StartUpTest& fixture) {
                      // A regular file that opens but cannot be read (even by root): reading
                      // a process's memory at address 0 fails.
                      fs::remove(fixture.dir / "install" / "Basic.pdf");
                      fs::create_symlink("/proc/self/mem", fixture.dir / "install" / "Basic.pdf");
                  },
                  {"Files Vital to Kestrova operation are corrupt or missing\r"
                   "Please re-install the application"}},
        FatalCase{"MissingLanguageFile",
                  [](StartUpTest& fixture) { fs::remove(fixture.program("English.lng")); },
                  {"Fatal Error: Missing Language File\rPlease re-install the application"}}),
    [](const auto& row) { return row.param.name; });

TEST_F(StartUpTest, ListingModeJudgesNothingAndListsEveryDigest) {
    fs::create_directories(program("Gate"));
    writeFile(program("nomd5.txt"), "");
    writeFile(dir / "install" / "logo.gif", "not the recorded picture");
    fs::remove(dir / "install" / "Basic.pdf");

    EXPECT_FALSE(start().fatal);

    EXPECT_TRUE(fake.dialogs.information.empty());
    EXPECT_TRUE(window.called("comms"));
    EXPECT_EQ(readFile(program("nomd5.txt")),
              "Filename,Md5Checksum,WhatIHave\r\n"
              "Basic.pdf,missing,\r\n"
              "logo.gif,EEC1B1B96E3BCAFE669E46422AAD6868,900150983CD24FB0D6963F7D28E17F72\r\n");
}

TEST_F(StartUpTest, NoSiteAsksUntilOneIsCreated) {
    fake.dialogs.inputAnswers = {"", "bad/name", "Main Gate"};

    EXPECT_FALSE(start().fatal);

    EXPECT_EQ(fake.dialogs.inputRequests.size(), 3u);
    EXPECT_EQ(fake.dialogs.errors,
              std::vector<std::string>{"Could Not Create the new site bad/name"});
    EXPECT_EQ(context.sites.names(), std::vector<std::string>{"Main Gate"});
    EXPECT_TRUE(fs::exists(program("Main Gate") / "checkpt.lst"));
    EXPECT_TRUE(window.called("comms"));
}

TEST_F(StartUpTest, ASettingThatDoesNotConvertIsReportedAndStartUpGoesOn) {
    fs::create_directories(program("Gate"));
    writeFile(program("Kestrova.ini"), "CommPort=3\r\nDefaultReport=x\r\nDefaultSite=1\r\n");

    EXPECT_FALSE(start().fatal);

    ASSERT_EQ(fake.dialogs.errors.size(), 1u);
    EXPECT_THAT(fake.dialogs.errors[0], HasSubstr("'x' is not a valid integer value"));
    EXPECT_EQ(context.settings.get().commPort, "3");  // read before the bad value
    EXPECT_EQ(context.settings.get().defaultSite, 0); // after it: the default
    EXPECT_EQ(state.portNumber(), 3);
    EXPECT_TRUE(window.called("comms"));
}

TEST_F(StartUpTest, ACommPortThatIsNoNumberLetsTheSearchStartAtTheFirstPort) {
    fs::create_directories(program("Gate"));
    writeFile(program("Kestrova.ini"), "CommPort=COM3\r\n");
    EXPECT_FALSE(start().fatal);
    EXPECT_EQ(state.portNumber(), 0);
    EXPECT_TRUE(traced("CommPort is not a port number: COM3"));
    EXPECT_TRUE(fake.dialogs.errors.empty());
}

} // namespace
} // namespace kestrova
