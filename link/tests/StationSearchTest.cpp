// The station search over several ports, in virtual time.
#include "link/tests/LinkHarness.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::LinkHarness;
using testing::PortBank;
using testing::PrefixEchoDevice;

struct StationSearchTest : ::testing::Test {
    StationSearchTest() {
        h.stopWhen([this] { return h.state.stationChecked(); });
    }
    void search(const std::string& commPort) {
        h.settings.commPort = commPort;
        h.run(bank);
        ASSERT_TRUE(h.state.stationChecked());
    }
    LinkHarness h;
    PortBank bank{h.clock};
};

TEST_F(StationSearchTest, StartsAtTheSettingPassesOverALoopBackAndRemembersThePort) {
    sim::SimStation loopback(h.clock, sim::DeviceKind::LoopbackPlug);
    sim::SimStation silent(h.clock, sim::DeviceKind::Silent);
    bank.add("COM3", loopback);
    bank.add("COM4", silent);
    bank.add("COM5", h.station);
    ASSERT_NO_FATAL_FAILURE(search("3"));
    EXPECT_EQ(5, h.state.portNumber());
    EXPECT_EQ((std::vector<std::string>{"COM3", "COM4", "COM5"}), bank.opened);
    EXPECT_EQ("CommPort=5\r\n", testing::readFile(h.dir / "Kestrova.ini"));
    EXPECT_EQ(h.messages.MessageText(111), h.state.statusText());
}

TEST_F(StationSearchTest, AStationOnTheRememberedPortIsFoundAtOnceAndNothingIsWritten) {
    bank.add("COM5", h.station);
    testing::writeFile(h.dir / "Kestrova.ini", "CommPort=5\r\n");
    ASSERT_NO_FATAL_FAILURE(search("5"));
    EXPECT_EQ((std::vector<std::string>{"COM5"}), bank.opened);
    EXPECT_EQ("CommPort=5\r\n", testing::readFile(h.dir / "Kestrova.ini"));
}

TEST_F(StationSearchTest, NoSettingStartsAtPortOne) {
    for (const std::string setting : {"0", "", "junk"}) {
        SCOPED_TRACE(setting);
        LinkHarness local;
        PortBank ports(local.clock);
        ports.add("COM1", local.station);
        local.stopWhen([&] { return local.state.stationChecked(); });
        local.settings.commPort = setting;
        local.run(ports);
        EXPECT_EQ((std::vector<std::string>{"COM1"}), ports.opened);
    }
}

TEST_F(StationSearchTest, TheFirstProbeMayCarryUpToThreeBytesInFront) {
    // Two bytes in front of the echo pass the first half (and, silent with DTR off, the
    // second); four do not, and the search goes on to the station on the next port.
    PrefixEchoDevice twoInFront("ab");
    PrefixEchoDevice fourInFront("abcd");
    bank.add("COM1", fourInFront);
    bank.add("COM2", twoInFront);
    bank.add("COM3", h.station);
    ASSERT_NO_FATAL_FAILURE(search("1"));
    EXPECT_EQ(2, h.state.portNumber());
}

// On a port without modem lines (a pseudo-terminal) DTR cannot be cleared and the station
// echoes the second probe too: the failure is traced and the search takes the station, since
// only a working DTR can tell it from a loop-back plug.
TEST_F(StationSearchTest, APortWhoseDtrCannotBeClearedIsTakenAsTheStation) {
    testing::writeFile(h.dir / "Rs232.txt", "");
    PrefixEchoDevice noModemLines("", false);
    bank.add("COM2", noModemLines);
    ASSERT_NO_FATAL_FAILURE(search("2"));
    EXPECT_EQ(2, h.state.portNumber());
    EXPECT_NE(std::string::npos,
              testing::readFile(h.dir / "Rs77.txt").find(" ,, Error 1 Clear DTR2\r\n"));
}

TEST_F(StationSearchTest, TheSearchWrapsPastTheLastPortToTheFirst) {
    bank.add("COM2", h.station);
    ASSERT_NO_FATAL_FAILURE(search("1020"));
    EXPECT_EQ(2, h.state.portNumber());
    EXPECT_EQ("CommPort=2\r\n", testing::readFile(h.dir / "Kestrova.ini"));
}

} // namespace
} // namespace kestrova
