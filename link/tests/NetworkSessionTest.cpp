// The comms thread on a network port, in real time: the simulated station on a
// pseudo-terminal, ser2net in front of it on the loopback address. A connection that drops
// while the baton is watched ends, once the server is back, in a new connection and a fresh
// session that uploads the next baton.
#include "link/tests/DeviceServers.h"
#include "link/tests/LinkHarness.h"
#include "sim/PtyStation.h"

#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>

namespace kestrova {
namespace {

using testing::freeLoopbackPort;
using testing::Ser2net;
using testing::TempDir;

// Counts the uploads processed; marks the file done as processing does.
class CountingProcessor : public RawProcessor {
public:
    explicit CountingProcessor(std::filesystem::path dir) : dir_(std::move(dir)) {}
    void DoRaw() override {
        appendLine(rawUploadFile(dir_), "Done");
        ++count;
    }
    std::atomic<int> count = 0;

private:
    std::filesystem::path dir_;
};

template <typename Condition> bool awaitFor(int seconds, Condition condition) {
    for (int i = 0; i < seconds * 50; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

sim::SimBaton smallBaton() {
    sim::SimBaton baton;
    baton.name = "KEST0007";
    baton.clock = LocalDateTime{2025, 3, 14, 9, 0, 0, 0};
    for (int record = 0; record < 3; ++record)
        baton.addClocking(14, {0xA1, 0xB2, static_cast<std::uint8_t>(record + 1), 0x03, 0x14, 0x08,
                               static_cast<std::uint8_t>(0x10 + record)});
    return baton;
}

speed_t deviceSpeed(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::close(fd);
    return ::cfgetospeed(&tio);
}

void setDeviceSpeed(const std::string& device, speed_t speed) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfsetspeed(&tio, speed);
    ::tcsetattr(fd, TCSANOW, &tio);
    ::close(fd);
}

TEST(NetworkSession, ADroppedConnectionEndsInANewConnectionAndAFreshUpload) {
    if (const std::string missing = Ser2net::missing(); !missing.empty())
        GTEST_SKIP() << missing;
    TempDir dir;
    std::optional<sim::PtyStation> station;
    try {
        station.emplace(smallBaton());
    } catch (const std::runtime_error& error) {
        GTEST_SKIP() << error.what();
    }
    station->start();
    const int tcpPort = freeLoopbackPort();
    Ser2net server(dir.path(), station->devicePath(), tcpPort);
    ASSERT_TRUE(server.start()) << "ser2net did not come up";

    SteadyLinkClock clock;
    // Every port names the server: an echo that a loaded machine delays past the search's
    // window costs one more port instead of a walk through all of them.
    PortRouter router(PortDirectory(
                          [tcpPort](const std::string&) -> std::optional<std::string> {
                              return "rfc2217://127.0.0.1:" + std::to_string(tcpPort);
                          },
                          "/nonexistent-dev"),
                      clock, nullptr);
    testing::FakeDesktop desktop;
    MainState state;
    MessageTable messages;
    messages.SetDefaultMessages();
    createEmptyFileIfMissing(dir / "Kestrova.ini");
    createEmptyFileIfMissing(dir / "Rs232.txt"); // the serial trace, shown on a failure
    SettingsFile settingsFile{dir.path()};
    Settings settings;
    settings.commPort = "1";
    AdminLog adminLog{dir.path(), desktop.clock};
    DirectUiThread ui;
    CountingProcessor processor(dir.path());
    testing::RecordingIdButtons idButtons;
    TCommsThread comms(LinkServices{dir.path(), "77", router, clock, state, messages, settingsFile,
                                    [&settings] { return settings; }, desktop.clock, desktop.beeper,
                                    ui, processor, adminLog, idButtons});
    comms.start();
    const auto serialTrace = [&dir] {
        const std::filesystem::path file = dir / "Rs77.txt";
        return std::filesystem::exists(file) ? testing::readFile(file).substr(0, 4000) : "";
    };
    ASSERT_TRUE(awaitFor(30, [&] { return processor.count == 1; })) << serialTrace();

    // The server goes away with the baton still down; the baton is taken off meanwhile.
    server.kill();
    ASSERT_TRUE(station->takeBatonOff());
    setDeviceSpeed(station->devicePath(), B1200);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_EQ(1, processor.count);

    // Back: the session connects anew (the device is set up again), and the next baton is
    // uploaded from the start.
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(awaitFor(15, [&] { return deviceSpeed(station->devicePath()) == B9600; }))
        << "no new connection set the device up";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    station->placeBaton(smallBaton());
    EXPECT_TRUE(awaitFor(30, [&] { return processor.count == 2; })) << state.statusText();
    comms.stop();
    const std::string raw = testing::readFile(rawUploadFile(dir.path()));
    EXPECT_NE(raw.find("Id : KEST0007"), std::string::npos) << raw;
}

} // namespace
} // namespace kestrova
