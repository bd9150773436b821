#include "link/SerialDiagnosis.h"

#include "core/testing/FakeDesktop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::TempDir;
using testing::writeFile;

// Writes a file of the tree, making its directories.
void put(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    writeFile(file, bytes);
}

bool anyLineHas(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

// A small system tree: devices, their by-id names, the kernel's tty classes, the group file and
// the processes' open files. Ownership is whatever the test runner creates files with; the user
// under test is made another user, a member of that group or not.
class SerialDiagnosisTest : public ::testing::Test {
protected:
    void device(const std::string& name, fs::perms perms) {
        put(dir / "dev" / name, "");
        fs::permissions(dir / "dev" / name, perms);
        struct stat info {};
        ::stat((dir / "dev" / name).c_str(), &info);
        fileUid = info.st_uid;
        fileGid = info.st_gid;
    }
    void builtIn(const std::string& name, const std::string& type) {
        device(name, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                         fs::perms::group_write);
        put(dir / "sys" / "class" / "tty" / name / "type", type + "\n");
    }
    void byId(const std::string& name, const std::string& target) {
        fs::create_directories(dir / "dev" / "serial" / "by-id");
        fs::create_symlink(target, dir / "dev" / "serial" / "by-id" / name);
    }
    void process(int pid, const std::string& command, const std::string& openFile) {
        const fs::path p = dir / "proc" / std::to_string(pid);
        put(p / "comm", command + "\n");
        fs::create_directories(p / "fd");
        fs::create_symlink(openFile, p / "fd" / "3");
    }
    void groups(const std::string& members) {
        put(dir / "etc" / "group", "users:x:" + std::to_string(otherGid()) + ":\ndialout:x:" +
                                       std::to_string(fileGid) + ":" + members + "\n");
    }
    // A group the devices do not belong to.
    unsigned otherGid() const { return fileGid + 1000; }
    SerialDiagnosis run(bool inGroup = false, int commPort = 1,
                        std::optional<std::string> configured = std::nullopt) {
        SerialDiagnosisInputs in;
        in.root = dir.path();
        in.user.uid = fileUid + 1; // never the owner, never root
        in.user.name = "guard";
        in.user.groups = {otherGid()};
        if (inGroup)
            in.user.groups.push_back(fileGid);
        in.ownPid = 42;
        in.commPort = commPort;
        in.configuredDevice = std::move(configured);
        return DiagnoseSerialPorts(in);
    }

    static constexpr fs::perms kGroupOnly = fs::perms::owner_read | fs::perms::owner_write |
                                            fs::perms::group_read | fs::perms::group_write;
    static constexpr fs::perms kEveryone =
        kGroupOnly | fs::perms::others_read | fs::perms::others_write;

    TempDir dir;
    unsigned fileUid = 0;
    unsigned fileGid = 0;
};

TEST_F(SerialDiagnosisTest, ListsPortsWithNamesAccessAndHolders) {
    device("ttyUSB0", kGroupOnly);
    device("ttyACM0", kEveryone);
    builtIn("ttyS0", "4");
    builtIn("ttyS1", "0"); // no UART behind it: not a port
    device("tty1", kEveryone);
    byId("usb-FTDI_FT232R_USB_UART_A10K-if00-port0", "../../ttyUSB0");
    process(1234, "minicom", "/dev/ttyUSB0");
    process(42, "kestrova", "/dev/ttyACM0");
    process(77, "bash", "/dev/pts/0");
    groups("");

    const auto d = run();

    ASSERT_EQ(d.ports.size(), 3u);
    EXPECT_EQ(d.ports[0].device, "/dev/ttyUSB0");
    EXPECT_EQ(d.ports[0].port, 1);
    EXPECT_THAT(d.ports[0].byId, ElementsAre("usb-FTDI_FT232R_USB_UART_A10K-if00-port0"));
    EXPECT_FALSE(d.ports[0].mayOpen);
    EXPECT_EQ(d.ports[0].group, "dialout");
    EXPECT_THAT(d.ports[0].holders, ElementsAre(PortHolder{1234, "minicom", false}));
    EXPECT_EQ(d.ports[1].device, "/dev/ttyACM0");
    EXPECT_TRUE(d.ports[1].mayOpen);
    EXPECT_THAT(d.ports[1].holders, ElementsAre(PortHolder{42, "kestrova", true}));
    EXPECT_EQ(d.ports[2].device, "/dev/ttyS0");
    EXPECT_TRUE(d.ports[2].holders.empty());

    EXPECT_THAT(d.lines,
                Contains("  Port 1: /dev/ttyUSB0  (usb-FTDI_FT232R_USB_UART_A10K-if00-port0)"));
    EXPECT_THAT(d.lines, Contains("    In use by process 1234 (minicom)."));
    EXPECT_THAT(d.lines, Contains("    Open in this program (the link to the upload station)."));
    EXPECT_TRUE(anyLineHas(d.lines, "sudo usermod -aG dialout guard"));
    EXPECT_TRUE(anyLineHas(d.lines, "Close the program \"minicom\" (process 1234)"));
}

struct AccessCase {
    std::string name;
    bool inGroup;        // the process has the group
    std::string members; // the group file's member list
    bool mayOpen;
    std::string advice; // a text the advice holds; empty: no access advice
};

class SerialAccessTest : public SerialDiagnosisTest,
                         public ::testing::WithParamInterface<AccessCase> {};

TEST_P(SerialAccessTest, GroupMembershipDecidesAccessAndAdvice) {
    const auto& c = GetParam();
    device("ttyUSB0", kGroupOnly);
    groups(c.members);

    const auto d = run(c.inGroup);

    ASSERT_EQ(d.ports.size(), 1u);
    EXPECT_EQ(d.ports[0].mayOpen, c.mayOpen);
    if (c.advice.empty()) {
        EXPECT_FALSE(anyLineHas(d.lines, "usermod"));
        EXPECT_FALSE(anyLineHas(d.lines, "log out"));
    } else {
        EXPECT_TRUE(anyLineHas(d.lines, c.advice));
    }
}

INSTANTIATE_TEST_SUITE_P(Membership, SerialAccessTest,
                         ::testing::Values(AccessCase{"Member", true, "guard", true, ""},
                                           AccessCase{"NotMember", false, "", false,
                                                      "sudo usermod -aG dialout guard"},
                                           AccessCase{"AddedSinceLogin", false, "admin,guard",
                                                      false, "log out and in again (or restart)"}),
                         [](const auto& row) { return row.param.name; });

TEST_F(SerialDiagnosisTest, NoDeviceSaysSoAndWhatToDo) {
    fs::create_directories(dir / "dev");
    const auto d = run(false, 0);
    EXPECT_TRUE(d.ports.empty());
    EXPECT_THAT(d.lines, Contains("  No serial port was found."));
    EXPECT_TRUE(anyLineHas(d.lines, "Plug the upload station's USB cable in"));
    EXPECT_THAT(d.lines,
                Contains("No port is stored yet; every port is searched for the station."));
}

struct PortSettingCase {
    std::string name;
    int commPort;
    std::optional<std::string> configured;
    std::string line;
};

class SerialPortSettingTest : public SerialDiagnosisTest,
                              public ::testing::WithParamInterface<PortSettingCase> {};

TEST_P(SerialPortSettingTest, StoredPortIsExplained) {
    device("ttyUSB0", kEveryone);
    const auto d = run(false, GetParam().commPort, GetParam().configured);
    EXPECT_THAT(d.lines, Contains(GetParam().line));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SerialPortSettingTest,
    ::testing::Values(
        PortSettingCase{"Known", 1, std::nullopt, "The station is looked for on port 1 first."},
        PortSettingCase{"Unknown", 9, std::nullopt,
                        "The stored port 9 names no serial port of this computer; the other "
                        "ports are searched."},
        PortSettingCase{"Simulator", 1, "simulator",
                        "Port 1 is the simulated station (COM1=simulator in Kestrova.ini): no "
                        "serial device is used."},
        PortSettingCase{"Entry", 5, "/dev/serial/by-id/usb-x",
                        "Port 5 is set to the device /dev/serial/by-id/usb-x in Kestrova.ini."}),
    [](const auto& row) { return row.param.name; });

TEST_F(SerialDiagnosisTest, UsablePortsGetTheGeneralAdviceOnly) {
    device("ttyUSB0", kEveryone);
    const auto d = run();
    EXPECT_THAT(d.lines, Not(Contains(HasSubstr("usermod"))));
    EXPECT_TRUE(anyLineHas(d.lines, "The ports look usable."));
}

} // namespace
} // namespace kestrova
