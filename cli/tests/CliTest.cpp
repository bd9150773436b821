#include "cli/tests/CliRun.h"
#include "core/testing/FakeDesktop.h"
#include "link/tests/DeviceServers.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kestrova {
namespace {

using testing::readFile;
using testing::Result;
using testing::runCli;
using testing::TempDir;
using testing::writeFile;

TEST(CliSites, ListsSitesInPositionOrderAndCreatesTheirFiles) {
    TempDir dir;
    for (const char* name : {"Beta", "alpha", "Common", ".hidden"})
        std::filesystem::create_directory(dir / name);
    writeFile(dir / "Beta" / "Checkpt.lst", "//h\r\n\r\nA1B2C3 = Gate\r\nD4E5F6 # Back\r\n\r\n");
    const Result r = runCli(dir, {"-C", dir.path().string(), "sites"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0\talpha\tsite\t\n1\tBeta\tsite\tA1B2C3 D4E5F6\n2\tCommon\tcommon\t\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "alpha" / "Raw"));
    EXPECT_EQ(readFile(dir / "alpha" / "checkpt.lst"),
              "//Checkpoint list for Kestrova\r\n\r\n\r\n//End of file\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "Beta" / "checkpt.lst"));
}

TEST(CliSites, NoSitesPrintsNothing) {
    TempDir dir;
    const Result r = runCli(dir, {"sites", "-C", dir.path().string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

TEST(CliSettings, PrintsTheRecordInKeyOrderAndCreatesTheFile) {
    TempDir dir;
    writeFile(dir / "pdf.txt", "");
    writeFile(dir / "kestrova.INI",
              "DayorNight=Day\r\nreportheader=A=B\r\nClearKestrovaMemory=t\r\n");
    const Result r = runCli(dir, {"-C", dir.path().string(), "settings"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "UpdateDateTimeAutomatically=T\n"
                     "UploadKestrovaData=T\n"
                     "ClearKestrovaMemory=F\n"
                     "GenerateFrequencyReport=T\n"
                     "OpenReportAfterProcessing=T\n"
                     "DiscardUnknownCheckpoints=F\n"
                     "RemoveDuplicatePoints=T\n"
                     "SecureReports=T\n"
                     "ReportHeader=A=B\n"
                     "ReportFooter=www.kestrova.example\n"
                     "AboutWeb=www.kestrova.example\n"
                     "LanguageFile=English.lng\n"
                     "CommPort=0\n"
                     "DayorNight=Day\n"
                     "DefaultReport=3\n"
                     "DefaultSite=0\n"
                     "ReportCopyFolder=\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "Kestrova.ini"));
}

TEST(CliSettings, ConversionErrorPrintsTheMessageThenTheRecordAndFails) {
    TempDir dir;
    writeFile(dir / "pdf.txt", "");
    writeFile(dir / "Kestrova.ini", "DefaultSite=5\r\nDefaultReport=two\r\n");
    const Result r = runCli(dir, {"-C", dir.path().string(), "settings"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "'two' is not a valid integer value.\n");
    EXPECT_NE(r.out.find("DefaultReport=3\nDefaultSite=0\n"), std::string::npos) << r.out;
}

TEST(CliSettings, MissingFileIsCreatedEmpty) {
    TempDir dir;
    const Result r = runCli(dir, {"-C", dir.path().string(), "settings"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readFile(dir / "Kestrova.ini"), "");
}

class CliProcessing : public ::testing::Test {
protected:
    CliProcessing() {
        for (const char* site : {"Alpha", "Beta"})
            std::filesystem::create_directory(dir / site);
        writeFile(dir / "Alpha" / "checkpt.lst", "//h\r\n\r\nA1B201 = Front gate\r\n\r\n");
        writeFile(dir / "Beta" / "checkpt.lst", "//h\r\n\r\nC4D501 = Loading bay\r\n\r\n");
        writeFile(dir / "pdf.txt", "");
        writeFile(dir / "Raw.txt", "Id : KEST0042\r\n"
                                   "000000A1B20126031322001\r\n"
                                   "000000C4D50126031323022\r\n"
                                   "000000EEEE0126031323303\r\n");
    }
    Result run(std::vector<std::string> args) {
        args.insert(args.begin(), {"-C", dir.path().string(), "--now", "2026-03-14 08:00:00"});
        return runCli(dir, args);
    }
    TempDir dir;
};

TEST_F(CliProcessing, ProcessWritesDayFilesAndReportsAndPrintsTheirPaths) {
    const Result r = run({"process"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Alpha/03140800.txt\nAlpha/03140800.pdf\nBeta/03140800.txt\n"
                     "Beta/03140800.pdf\n");
    EXPECT_NE(readFile(dir / "Alpha" / "03140800.txt").find("Front gate"), std::string::npos);
    // Day-file lines are the first 22 characters of the upload line.
    EXPECT_EQ(readFile(dir / "Beta" / "Raw" / "260313.txt"), "000000C4D5012603132302\r\n");
    // Clockings nobody knows are ignored and said so.
    EXPECT_NE(r.err.find("EEEE01"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(dir / "Raw.txt").substr(readFile(dir / "Raw.txt").size() - 6), "Done\r\n");
}

TEST_F(CliProcessing, ImportPlacesUnknownClockingsInANewSite) {
    const Result r = run({"import", "--unknown", "new:Stores"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Stores/03140800.txt\n"), std::string::npos) << r.out;
    EXPECT_NE(readFile(dir / "Stores" / "checkpt.lst").find("EEEE01"), std::string::npos);
    // Import leaves the day files alone: that is pre-processing's job.
    EXPECT_FALSE(std::filesystem::exists(dir / "Alpha" / "Raw" / "260313.txt"));
    EXPECT_NE(readFile(dir / "LG202603.txt").find("\"unknown\",\"Raw.txt imported\""),
              std::string::npos);
}

TEST_F(CliProcessing, MissingFileEndsTheRunWithStatusOne) {
    const Result r = run({"process", (dir / "absent.txt").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("absent.txt"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(CliProcessing, AnUnknownExistingSiteIsAUsageError) {
    const Result r = run({"process", "--unknown", "existing:Nowhere"});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "Alpha" / "Raw" / "260313.txt"));
}

TEST(CliUpload, ASimulatedBatonReachesTheDayFilesAndReports) {
    TempDir dir;
    std::filesystem::copy(std::filesystem::path(KESTROVA_SOURCE_DIR) / "demo", dir.path(),
                          std::filesystem::copy_options::recursive);
    const Result r = runCli(dir, {"-C", dir.path().string(), "--now", "2026-03-14 08:00:00",
                                  "upload", "--simulate", (dir / "demo-baton.txt").string(),
                                  "--baton-after", (dir / "after.txt").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    // The status lines come first, in the order the session shows them, then the reports.
    const auto communicating = r.out.find("Communicating with Kestrova\n");
    const auto downloading = r.out.find("Downloading Data");
    const auto processing = r.out.find("Processing Data...\n");
    ASSERT_NE(communicating, std::string::npos) << r.out;
    EXPECT_LT(communicating, downloading);
    EXPECT_LT(downloading, processing);
    EXPECT_NE(r.out.find("North Gate/03140800.txt\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Warehouse/03140800.pdf\n"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(dir / "North Gate" / "Raw" / "260313.txt"));
    // The baton was cleared: its state afterwards holds no records.
    const std::string after = readFile(dir / "after.txt");
    EXPECT_NE(after.find("name KEST0042"), std::string::npos) << after;
    EXPECT_EQ(after.find("A1 B2 01"), std::string::npos) << after;
}

// A child kestrova-cli with its output in a file; ended by SIGTERM if still running at the end.
class Child {
public:
    Child(const std::filesystem::path& out, const std::vector<std::string>& args) {
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(fd, 1);
            ::dup2(fd, 2);
            std::vector<char*> argv{const_cast<char*>(KESTROVA_CLI)};
            for (const std::string& arg : args)
                argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            ::execv(KESTROVA_CLI, argv.data());
            ::_exit(127);
        }
    }
    ~Child() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            wait(0);
        }
    }
    void signal(int number) { ::kill(pid_, number); }
    // The exit status once it has ended within `seconds`; no value while it runs.
    std::optional<int> wait(int seconds) {
        for (int i = 0; i <= seconds * 20 && !status_; ++i) {
            int raw = 0;
            if (::waitpid(pid_, &raw, WNOHANG) == pid_)
                status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            else if (seconds > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return status_;
    }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// Waits up to `seconds` for the file to hold `text`.
bool awaitText(const std::filesystem::path& file, const std::string& text, int seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        if (std::filesystem::exists(file) && readFile(file).find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

struct StationRun {
    const char* name;
    bool watch;
    bool network; // through ser2net in front of the station's device
};

class CliStationOnPty : public ::testing::TestWithParam<StationRun> {};

// The simulated station on a pseudo-terminal, the upload on it as on a real serial port (or
// through ser2net, as on a device server's port on the network), in real time: --once ends by
// itself once the baton is read, --watch goes on until SIGTERM, which ends it cleanly.
// The station answers the search's probe within 50 ms; on a loaded machine the station process
// can miss that, and the search then tries every other port number before it comes back to
// this one (about 40 s), so the waits for the upload allow two such rounds.
constexpr int kSearchRoundsSeconds = 120;

TEST_P(CliStationOnPty, UploadsTheBatonThroughARealTty) {
    TempDir dir;
    std::filesystem::copy(std::filesystem::path(KESTROVA_SOURCE_DIR) / "demo", dir.path(),
                          std::filesystem::copy_options::recursive);
    Child station(dir / "station.out", {"station", "--pty", (dir / "demo-baton.txt").string(),
                                        "--baton-after", (dir / "after.txt").string()});
    ASSERT_TRUE(awaitText(dir / "station.out", "\n", 10)) << "the station printed no device";
    const std::string station_out = readFile(dir / "station.out");
    const std::string device = station_out.substr(0, station_out.find('\n'));
    if (device.rfind("/dev/", 0) != 0)
        GTEST_SKIP() << "no pseudo-terminal: " << station_out;
    std::string port = device;
    std::optional<kestrova::testing::Ser2net> server;
    if (GetParam().network) {
        if (const std::string missing = kestrova::testing::Ser2net::missing(); !missing.empty())
            GTEST_SKIP() << missing;
        const int tcpPort = kestrova::testing::freeLoopbackPort();
        server.emplace(dir.path(), device, tcpPort);
        ASSERT_TRUE(server->start()) << "ser2net did not come up";
        port = "rfc2217://127.0.0.1:" + std::to_string(tcpPort);
    }
    writeFile(dir / "Kestrova.ini",
              "CommPort=1\r\nCOM1=" + port + "\r\nLanguageFile=English.lng\r\n");
    writeFile(dir / "Rs232.txt", "");

    Child upload(dir / "upload.out", {"-C", dir.path().string(), "upload", "--port", "1",
                                      GetParam().watch ? "--watch" : "--once"});
    std::optional<int> status;
    if (GetParam().watch) {
        ASSERT_TRUE(awaitText(dir / "upload.out", "Processing Data...\n", kSearchRoundsSeconds));
        ASSERT_TRUE(awaitText(dir / "upload.out", "Communicating with Kestrova\n", 10));
        EXPECT_FALSE(upload.wait(1)) << "--watch ended by itself";
        upload.signal(SIGTERM);
    }
    status = upload.wait(kSearchRoundsSeconds);
    ASSERT_TRUE(status) << readFile(dir / "upload.out");
    EXPECT_EQ(0, *status) << readFile(dir / "upload.out");
    const std::string out = readFile(dir / "upload.out");
    EXPECT_NE(out.find("Initializing please wait  (Checking Port 1 )\nInitializing please wait  "
                       "(Checking for Tavlo2)\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("North Gate/"), std::string::npos) << out;
    EXPECT_EQ(readFile(dir / "Raw.Txt").substr(0, 15), "Id : KEST0042\r\n");
    // The pseudo-terminal has no modem lines: the trace says so, and the upload went on.
    std::string serialTrace;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("Rs", 0) == 0 && name.rfind("RsM", 0) != 0 && name != "Rs232.txt")
            serialTrace += readFile(entry.path());
    }
    EXPECT_NE(serialTrace.find(" ,, 2b\r\n"), std::string::npos);

    station.signal(SIGTERM);
    ASSERT_EQ(std::optional<int>(0), station.wait(10));
    const std::string after = readFile(dir / "after.txt");
    EXPECT_NE(after.find("name KEST0042"), std::string::npos) << after;
    EXPECT_EQ(after.find("A1 B2 01"), std::string::npos) << after;
}

INSTANTIATE_TEST_SUITE_P(Cli, CliStationOnPty,
                         ::testing::Values(StationRun{"Once", false, false},
                                           StationRun{"Watch", true, false},
                                           StationRun{"OnceThroughADeviceServer", false, true}),
                         [](const ::testing::TestParamInfo<StationRun>& row) {
                             return std::string(row.param.name);
                         });

struct BadLine {
    const char* name;
    std::vector<std::string> args;
};

void PrintTo(const BadLine& row, std::ostream* out) {
    *out << row.name;
}

class CliUsage : public ::testing::TestWithParam<BadLine> {};

TEST_P(CliUsage, PrintsUsageAndExitsWithTwo) {
    TempDir dir;
    const Result r = runCli(dir, GetParam().args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage: kestrova-cli"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    BadCommandLines, CliUsage,
    ::testing::Values(BadLine{"NoCommand", {}}, BadLine{"Unknown", {"frobnicate"}},
                      BadLine{"MissingDir", {"sites", "-C"}},
                      BadLine{"BadNow", {"--now", "2024-13-01 00:00:00", "sites"}},
                      BadLine{"ExtraArgument", {"sites", "extra"}},
                      BadLine{"BadUnknownAnswer", {"process", "--unknown", "maybe"}},
                      BadLine{"TwoFiles", {"import", "a.txt", "b.txt"}},
                      BadLine{"UploadOnceAndWatch", {"upload", "--once", "--watch"}},
                      BadLine{"SimulatedUploadWatching",
                              {"upload", "--simulate", "b.txt", "--watch"}},
                      BadLine{"UploadBadId", {"upload", "--simulate", "b.txt", "--set-id", "12"}}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrova
