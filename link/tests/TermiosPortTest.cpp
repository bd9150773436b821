// The termios port on a pseudo-terminal: the test holds the master side, the port opens the
// slave. Calls that a pseudo-terminal never fails are made to fail through the port's seam.
#include "link/TermiosPort.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kestrova {
namespace {

struct Pty {
    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            slave = ::ptsname(master);
    }
    ~Pty() {
        if (master >= 0)
            ::close(master);
    }
    // What the port wrote, as far as it has arrived within `ms`.
    Bytes readMaster(std::size_t n, int ms = 1000) {
        Bytes got;
        while (got.size() < n) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, ms) <= 0)
                break;
            std::uint8_t buf[64];
            const ssize_t r = ::read(master, buf, sizeof buf);
            if (r <= 0)
                break;
            got.insert(got.end(), buf, buf + r);
        }
        return got;
    }
    int master = -1;
    std::string slave;
};

// Fails the calls it is told to, and notes the modem lines the port sets.
class FailingCalls : public TtyCalls {
public:
    int interruptedDrains = 0;
    std::function<void(termios&)> spoilReadBack; // applied to what the device reports
    std::vector<std::pair<int, bool>> modemLines;

    int drain(int fd) override {
        if (interruptedDrains > 0) {
            --interruptedDrains;
            errno = EINTR;
            return -1;
        }
        return TtyCalls::drain(fd);
    }
    int setAttributes(int fd, const termios& tio) override {
        applied = true;
        return TtyCalls::setAttributes(fd, tio);
    }
    int getAttributes(int fd, termios& tio) override {
        const int result = TtyCalls::getAttributes(fd, tio);
        if (applied && spoilReadBack)
            spoilReadBack(tio);
        return result;
    }
    int setModemLine(int fd, int line, bool on) override {
        modemLines.emplace_back(line, on);
        return TtyCalls::setModemLine(fd, line, on);
    }

private:
    bool applied = false;
};

struct TermiosPortTest : ::testing::Test {
    void SetUp() override {
        if (pty.slave.empty())
            GTEST_SKIP() << "no pseudo-terminal available";
    }
    Pty pty;
    SteadyLinkClock clock;
};

TEST_F(TermiosPortTest, CarriesBytesBothWaysAndWakesTheWaitOnInput) {
    TermiosPort port(clock);
    port.setPort(pty.slave);
    ASSERT_TRUE(port.open());
    const Bytes frame{0x0B, 0x0E, 0x00, 0x08, 0x08, 0x6B};
    EXPECT_EQ(frame.size(), port.write(frame));
    EXPECT_EQ(frame, pty.readMaster(frame.size()));

    const Bytes reply{0x0C, 0x01, 0x5B};
    ASSERT_EQ(3, ::write(pty.master, reply.data(), reply.size()));
    port.waitForInput(clock.nowMs() + 2000, 3, {});
    ASSERT_EQ(3U, port.inputCount());
    EXPECT_EQ(reply, port.read(3));
    // DTR: a pseudo-terminal has no modem lines; the port says so and stays open.
    EXPECT_FALSE(port.setDtr(true));
    EXPECT_TRUE(port.isOpen());
}

TEST_F(TermiosPortTest, HoldsTheDeviceAloneUntilItIsClosed) {
    TermiosPort first(clock);
    TermiosPort second(clock);
    first.setPort(pty.slave);
    second.setPort(pty.slave);
    ASSERT_TRUE(first.open());
    EXPECT_FALSE(second.open());
    first.close();
    EXPECT_TRUE(second.open());
}

TEST_F(TermiosPortTest, ASignalInterruptingTheDrainLeavesThePortOpen) {
    FailingCalls calls;
    TermiosPort port(clock, calls);
    port.setPort(pty.slave);
    ASSERT_TRUE(port.open());
    calls.interruptedDrains = 2;
    port.setDtr(true);
    port.setBreak(false);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(0, calls.interruptedDrains);
}

TEST_F(TermiosPortTest, OpenLowersRts) {
    FailingCalls calls;
    TermiosPort port(clock, calls);
    port.setPort(pty.slave);
    ASSERT_TRUE(port.open());
    ASSERT_FALSE(calls.modemLines.empty());
    EXPECT_EQ(std::make_pair(static_cast<int>(TIOCM_RTS), false), calls.modemLines.front());
}

struct SpoiltSetting {
    const char* name;
    void (*spoil)(termios&);
};

class TermiosSettingsTest : public TermiosPortTest,
                            public ::testing::WithParamInterface<SpoiltSetting> {};

// tcsetattr succeeds when the driver took any one of the settings: the port reads them back.
TEST_P(TermiosSettingsTest, AnOpenWhoseSettingsDidNotHoldFails) {
    FailingCalls calls;
    calls.spoilReadBack = GetParam().spoil;
    TermiosPort port(clock, calls);
    port.setPort(pty.slave);
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    TermiosPort, TermiosSettingsTest,
    ::testing::Values(
        SpoiltSetting{"OneStopBit",
                      [](termios& tio) { tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB); }},
        SpoiltSetting{"OtherSpeed", [](termios& tio) { ::cfsetospeed(&tio, B19200); }},
        SpoiltSetting{"HardwareFlowControl", [](termios& tio) { tio.c_cflag |= CRTSCTS; }},
        SpoiltSetting{"EvenParity", [](termios& tio) { tio.c_cflag |= PARENB; }},
        SpoiltSetting{"SevenBits",
                      [](termios& tio) {
                          tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE);
                          tio.c_cflag |= CS7;
                      }},
        SpoiltSetting{"XonXoff", [](termios& tio) { tio.c_iflag |= IXON; }},
        SpoiltSetting{"CanonicalInput", [](termios& tio) { tio.c_lflag |= ICANON; }}),
    [](const ::testing::TestParamInfo<SpoiltSetting>& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrova
