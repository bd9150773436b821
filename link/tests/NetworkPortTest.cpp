// The network port against device servers nobody here wrote, on the loopback address: ser2net
// in front of a pseudo-terminal (whose settings show what reached the device), and
// python3-serial's server in front of a loop-back device (which answers DTR changes, as a server
// in front of a real port does). Each test skips itself where its server is not installed.
#include "link/NetworkPort.h"

#include "link/tests/DeviceServers.h"
#include "link/tests/LinkHarness.h"
#include "sim/PtyStation.h"

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>

namespace kestrova {
namespace {

using testing::findProgram;
using testing::freeLoopbackPort;
using testing::readFile;
using testing::Ser2net;
using testing::ServerProcess;
using testing::TempDir;

// A pseudo-terminal: the test holds the master side and a descriptor of the slave, through
// which it reads and sets the line settings the device server gave the slave.
struct Pty {
    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) {
            device = ::ptsname(master);
            slave = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        }
    }
    ~Pty() {
        for (const int fd : {slave, master})
            if (fd >= 0)
                ::close(fd);
    }
    termios settings() const {
        termios tio{};
        ::tcgetattr(slave, &tio);
        return tio;
    }
    // 1200 baud, 7 data bits, even parity, one stop bit: nothing like the link's settings.
    void spoilSettings() const {
        termios tio = settings();
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B1200);
        tio.c_cflag = (tio.c_cflag & ~static_cast<tcflag_t>(CSIZE | CSTOPB)) | CS7 | PARENB;
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    Bytes readMaster(std::size_t n, int ms = 2000) const {
        Bytes got;
        while (got.size() < n) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, ms) <= 0)
                break;
            std::uint8_t buffer[64];
            const ssize_t r = ::read(master, buffer, std::min(sizeof buffer, n - got.size()));
            if (r <= 0)
                break;
            got.insert(got.end(), buffer, buffer + r);
        }
        return got;
    }
    void writeMaster(const Bytes& bytes) const {
        ASSERT_EQ(static_cast<ssize_t>(bytes.size()), ::write(master, bytes.data(), bytes.size()));
    }
    int master = -1;
    int slave = -1;
    std::string device;
};

void expectLinkSettings(const termios& tio) {
    EXPECT_EQ(B9600, ::cfgetospeed(&tio));
    EXPECT_EQ(static_cast<tcflag_t>(CS8), tio.c_cflag & CSIZE);
    EXPECT_NE(0u, tio.c_cflag & CSTOPB) << "two stop bits";
    EXPECT_EQ(0u, tio.c_cflag & PARENB) << "no parity";
    EXPECT_EQ(0u, tio.c_cflag & CRTSCTS) << "no hardware flow control";
}

// Reads from the port until `n` bytes have come or two seconds have passed.
Bytes readPort(NetworkPort& port, LinkClock& clock, std::size_t n) {
    const std::uint64_t deadline = clock.nowMs() + 2000;
    Bytes got;
    std::stop_source never;
    while (got.size() < n && clock.nowMs() < deadline && port.isOpen()) {
        port.waitForInput(deadline, n - got.size(), never.get_token());
        const Bytes more = port.read(port.inputCount());
        got.insert(got.end(), more.begin(), more.end());
    }
    return got;
}

std::string address(int port) {
    return "rfc2217://127.0.0.1:" + std::to_string(port);
}

class Ser2netPort : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = Ser2net::missing(); !missing.empty())
            GTEST_SKIP() << missing;
        if (pty.slave < 0)
            GTEST_SKIP() << "no pseudo-terminal";
        pty.spoilSettings();
        server.emplace(dir.path(), pty.device, tcpPort);
        ASSERT_TRUE(server->start()) << "ser2net did not come up";
        port.setPort(address(tcpPort));
    }

    TempDir dir;
    Pty pty;
    int tcpPort = freeLoopbackPort();
    std::optional<Ser2net> server;
    SteadyLinkClock clock;
    NetworkPort port{clock};
};

// What the device received before the open is dropped; after it, every byte crosses both ways
// as it was, 0xFF included, and the device runs at 9600 8N2.
TEST_F(Ser2netPort, SetsTheDeviceUpAndCarriesEveryByteBothWays) {
    pty.writeMaster({0x01, 0x0D, 0xFF});
    ASSERT_TRUE(port.open());
    expectLinkSettings(pty.settings());

    const Bytes toDevice{0x01, 0xFF, 0x5E, 0xFF, 0xFF, 0x00, 0xF0};
    EXPECT_EQ(toDevice.size(), port.write(toDevice));
    EXPECT_EQ(toDevice, pty.readMaster(toDevice.size()));

    const Bytes toPc{0xFF, 0x0D, 0xFF, 0xFF, 0x41, 0xFA, 0xF0};
    pty.writeMaster(toPc);
    EXPECT_EQ(toPc, readPort(port, clock, toPc.size() + 3));
    EXPECT_TRUE(port.isOpen());
}

// A pseudo-terminal has no modem lines: the server does not answer DTR changes, so the port
// reports them failed (without waiting again on this connection), as the termios port does on
// a pseudo-terminal, and the line goes on. A break is taken.
TEST_F(Ser2netPort, ReportsAnUnansweredDtrChangeAsFailedAndGoesOn) {
    ASSERT_TRUE(port.open());
    EXPECT_FALSE(port.setDtr(false));
    const std::uint64_t before = clock.nowMs();
    EXPECT_FALSE(port.setDtr(true));
    EXPECT_LT(clock.nowMs() - before, 500u) << "waited again for an answer that never comes";
    EXPECT_TRUE(port.setBreak(true));
    EXPECT_TRUE(port.setBreak(false));
    const Bytes bytes{0x41, 0x42};
    EXPECT_EQ(bytes.size(), port.write(bytes));
    EXPECT_EQ(bytes, pty.readMaster(bytes.size()));
}

// A dropped connection closes the port; an open while the server is away fails; once it is
// back, the open connects anew and sets the device up again from the start.
TEST_F(Ser2netPort, ADroppedConnectionClosesThePortAndTheNextOpenStartsOver) {
    ASSERT_TRUE(port.open());
    server->kill();
    std::stop_source never;
    const std::uint64_t deadline = clock.nowMs() + 3000;
    while (port.isOpen() && clock.nowMs() < deadline)
        port.waitForInput(deadline, 1, never.get_token());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.open());

    pty.spoilSettings();
    ASSERT_TRUE(server->start());
    ASSERT_TRUE(port.open());
    expectLinkSettings(pty.settings());
    const Bytes bytes{0x01, 0x5E};
    pty.writeMaster(bytes);
    EXPECT_EQ(bytes, readPort(port, clock, bytes.size()));
}

// A server that plays a script on the loopback address: it takes the COM-PORT option (or
// refuses it), waits for the port's purge and then sends the bytes of the row at once, so that
// the test decides what comes before and after each answer.
class ScriptedServer {
public:
    ScriptedServer(bool takeComPort, Bytes afterPurge) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        ::listen(listener_, 1);
        thread_ = std::jthread([this, takeComPort, afterPurge] {
            client_ = ::accept(listener_, nullptr, nullptr);
            const Bytes verdict{0xFF, takeComPort ? telnet::kDo : telnet::kDont, 44};
            ::send(client_, verdict.data(), verdict.size(), MSG_NOSIGNAL);
            const Bytes purge{0xFF, 0xFA, 44, 12, 3, 0xFF, 0xF0};
            Bytes received;
            std::uint8_t buffer[256];
            while (std::search(received.begin(), received.end(), purge.begin(), purge.end()) ==
                   received.end()) {
                const ssize_t got = ::recv(client_, buffer, sizeof buffer, 0);
                if (got <= 0)
                    return;
                received.insert(received.end(), buffer, buffer + got);
            }
            ::send(client_, afterPurge.data(), afterPurge.size(), MSG_NOSIGNAL);
        });
    }
    ~ScriptedServer() {
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        for (const int fd : {client_, listener_})
            if (fd >= 0)
                ::close(fd);
    }
    int port = 0;

private:
    int listener_ = -1;
    int client_ = -1;
    std::jthread thread_;
};

Bytes answer(std::uint8_t command, Bytes value) {
    Bytes bytes{0xFF, 0xFA, 44, static_cast<std::uint8_t>(command + 100)};
    bytes.insert(bytes.end(), value.begin(), value.end());
    bytes.insert(bytes.end(), {0xFF, 0xF0});
    return bytes;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct OpenRow {
    const char* name;
    bool takeComPort;
    Bytes afterPurge;
    bool opens;
    Bytes input; // what the port reads after the open
};

class ScriptedOpen : public ::testing::TestWithParam<OpenRow> {};

// The port stands open only when the server took the option and confirmed every setting as
// asked, and what the server sent before confirming the purge is not read.
TEST_P(ScriptedOpen, OpensOnlyOnConfirmedSettingsAndDropsWhatPrecedesThePurge) {
    const OpenRow& row = GetParam();
    ScriptedServer server(row.takeComPort, row.afterPurge);
    SteadyLinkClock clock;
    NetworkPort port(clock);
    port.setPort(address(server.port));
    ASSERT_EQ(row.opens, port.open());
    if (row.opens) {
        EXPECT_EQ(row.input, readPort(port, clock, row.input.size() + 1));
    }
}

const Bytes kBaud = answer(1, {0x00, 0x00, 0x25, 0x80});
const Bytes kDataSize = answer(2, {8});
const Bytes kParity = answer(3, {1});
const Bytes kTwoStopBits = answer(4, {2});
const Bytes kNoFlowControl = answer(5, {1});
const Bytes kPurged = answer(12, {3});

INSTANTIATE_TEST_SUITE_P(
    Network, ScriptedOpen,
    ::testing::Values(OpenRow{"PurgeDropsWhatCameBeforeItsAnswer", true,
                              concat({{0x41},
                                      kBaud,
                                      kDataSize,
                                      kParity,
                                      {0x42, 0xFF, 0xFF},
                                      kTwoStopBits,
                                      kNoFlowControl,
                                      {0x43},
                                      kPurged,
                                      {0x44, 0xFF, 0xFF}}),
                              true, Bytes{0x44, 0xFF}},
                      OpenRow{"ServerKeepsOneStopBit",
                              true,
                              concat({kBaud, kDataSize, kParity, answer(4, {1}), kNoFlowControl,
                                      kPurged}),
                              false,
                              {}},
                      OpenRow{"ServerKeepsAnotherBaudRate",
                              true,
                              concat({answer(1, {0x00, 0x00, 0x4B, 0x00}), kDataSize, kParity,
                                      kTwoStopBits, kNoFlowControl, kPurged}),
                              false,
                              {}},
                      OpenRow{"ServerRefusesTheOption", false, {}, false, {}}),
    [](const auto& row) { return std::string(row.param.name); });

// A stop (SIGINT or SIGTERM of the command line) ends a wait on a silent connection at once,
// not at its deadline, and leaves the port open.
TEST(NetworkPortWait, AStopEndsTheWaitBeforeItsDeadline) {
    ScriptedServer server(
        true, concat({kBaud, kDataSize, kParity, kTwoStopBits, kNoFlowControl, kPurged}));
    SteadyLinkClock clock;
    NetworkPort port(clock);
    port.setPort(address(server.port));
    ASSERT_TRUE(port.open());
    std::stop_source stop;
    std::jthread stopper([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop.request_stop();
    });
    const std::uint64_t start = clock.nowMs();
    port.waitForInput(start + 20'000, 1, stop.get_token());
    EXPECT_LT(clock.nowMs() - start, 10'000u);
    EXPECT_TRUE(port.isOpen());
}

// python3-serial's server in front of a loop-back device.
class LoopDeviceServer : public ::testing::Test {
protected:
    void SetUp() override {
        // The system's interpreter first: another one on the PATH may lack the package.
        std::string python;
        for (const std::string& candidate :
             {std::string("/usr/bin/python3"), findProgram("python3")})
            if (python.empty() && !candidate.empty() &&
                std::system((candidate + " -c 'import serial.rfc2217' 2>/dev/null").c_str()) == 0)
                python = candidate;
        if (python.empty())
            GTEST_SKIP() << "python3-serial is not installed";
        server.emplace(std::vector<std::string>{python,
                                                std::string(KESTROVA_SOURCE_DIR) +
                                                    "/link/tests/loop_device_server.py",
                                                std::to_string(tcpPort), status().string()},
                       dir / "server.out");
        ASSERT_TRUE(server->awaitListening(tcpPort)) << readFile(dir / "server.out");
        port.setPort(address(tcpPort));
    }
    std::filesystem::path status() const { return dir / "status"; }
    // Waits for the device's state to read `text`; the last state read when it does not.
    std::string awaitStatus(const std::string& text) const {
        std::string last;
        for (int i = 0; i < 100 && last != text; ++i) {
            if (std::filesystem::exists(status()))
                last = readFile(status());
            if (last != text)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return last;
    }

    TempDir dir;
    int tcpPort = freeLoopbackPort();
    std::optional<ServerProcess> server;
    SteadyLinkClock clock;
    NetworkPort port{clock};
};

TEST_F(LoopDeviceServer, SetsTheLineAndDrivesDtrAndBreakOnTheDevice) {
    ASSERT_TRUE(port.open()) << readFile(dir / "server.out");
    // baud rate, data bits, parity, stop bits, DTR, break
    EXPECT_EQ("9600 8 N 2 1 0\n", awaitStatus("9600 8 N 2 1 0\n"));
    EXPECT_TRUE(port.setDtr(false));
    EXPECT_EQ("9600 8 N 2 0 0\n", awaitStatus("9600 8 N 2 0 0\n"));
    EXPECT_TRUE(port.setDtr(true));
    EXPECT_TRUE(port.setBreak(true));
    EXPECT_EQ("9600 8 N 2 1 1\n", awaitStatus("9600 8 N 2 1 1\n"));
    EXPECT_TRUE(port.setBreak(false));
    EXPECT_EQ("9600 8 N 2 1 0\n", awaitStatus("9600 8 N 2 1 0\n"));

    const Bytes bytes{0x41, 0xFF, 0xFF, 0x0D, 0xFF};
    EXPECT_EQ(bytes.size(), port.write(bytes));
    EXPECT_EQ(bytes, readPort(port, clock, bytes.size() + 3));
}

} // namespace
} // namespace kestrova
