// Serial port findings for the user whose station is not found.
#include "link/SerialDiagnosis.h"

#include "core/TextFile.h"
#include "link/PortDirectory.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

// The usual group of serial devices on Debian and its relatives.
constexpr std::string_view kSerialGroup = "dialout";

struct GroupEntry {
    std::string name;
    std::vector<std::string> members;
};

// /etc/group below the root: "name:password:gid:member,member".
std::map<unsigned, GroupEntry> readGroups(const fs::path& root) {
    std::map<unsigned, GroupEntry> groups;
    std::ifstream in(root / "etc" / "group");
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t colon; (colon = line.find(':', start)) != std::string::npos;
             start = colon + 1)
            fields.push_back(line.substr(start, colon - start));
        fields.push_back(line.substr(start));
        if (fields.size() < 4)
            continue;
        unsigned gid = 0;
        const auto& id = fields[2];
        if (std::from_chars(id.data(), id.data() + id.size(), gid).ec != std::errc())
            continue;
        GroupEntry entry{fields[0], {}};
        std::string members = fields[3];
        if (!members.empty() && members.back() == '\r')
            members.pop_back();
        for (std::size_t s = 0, comma; s <= members.size(); s = comma + 1) {
            comma = members.find(',', s);
            if (comma == std::string::npos)
                comma = members.size();
            if (comma > s)
                entry.members.push_back(members.substr(s, comma - s));
        }
        groups.emplace(gid, std::move(entry));
    }
    return groups;
}

// The device as the running system names it: "/dev/ttyUSB0" for root/dev/ttyUSB0.
std::string systemPath(const fs::path& root, const fs::path& file) {
    return "/" +
           file.lexically_normal().lexically_relative(root.lexically_normal()).generic_string();
}

// Read and write for the user, by the owner, group and other permission bits.
bool userMayOpen(const struct stat& info, const SerialUser& user) {
    if (user.uid == 0)
        return true;
    const auto mode = info.st_mode;
    if (info.st_uid == user.uid)
        return (mode & S_IRUSR) && (mode & S_IWUSR);
    const bool inGroup =
        std::find(user.groups.begin(), user.groups.end(), info.st_gid) != user.groups.end();
    if (inGroup)
        return (mode & S_IRGRP) && (mode & S_IWGRP);
    return (mode & S_IROTH) && (mode & S_IWOTH);
}

std::vector<std::string> byIdNames(const fs::path& root, const fs::path& device) {
    std::vector<std::string> names;
    std::error_code error;
    const fs::path dir = root / "dev" / "serial" / "by-id";
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(entry.path(), linkError);
        if (linkError)
            continue;
        const fs::path resolved = target.is_absolute() ? root / target.relative_path()
                                                       : entry.path().parent_path() / target;
        if (resolved.lexically_normal() == device.lexically_normal())
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<int> processId(const std::string& name) {
    int pid = 0;
    const auto result = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (result.ec != std::errc() || result.ptr != name.data() + name.size())
        return std::nullopt;
    return pid;
}

struct HolderScan {
    std::map<std::string, std::vector<PortHolder>> byDevice;
    int unreadable = 0; // processes whose open files this user may not look at
};

HolderScan scanHolders(const fs::path& root, int ownPid) {
    HolderScan scan;
    std::error_code error;
    for (const auto& process : fs::directory_iterator(root / "proc", error)) {
        const auto pid = processId(process.path().filename().string());
        if (!pid)
            continue;
        std::error_code fdError;
        fs::directory_iterator fds(process.path() / "fd", fdError);
        if (fdError) {
            ++scan.unreadable;
            continue;
        }
        std::string command;
        std::ifstream comm(process.path() / "comm");
        std::getline(comm, command);
        for (const auto& fd : fds) {
            std::error_code linkError;
            const std::string target = fs::read_symlink(fd.path(), linkError).string();
            if (linkError)
                continue;
            auto& holders = scan.byDevice[target];
            const PortHolder holder{*pid, command, *pid == ownPid};
            if (std::find(holders.begin(), holders.end(), holder) == holders.end())
                holders.push_back(holder);
        }
    }
    for (auto& [device, holders] : scan.byDevice)
        std::sort(holders.begin(), holders.end(),
                  [](const PortHolder& a, const PortHolder& b) { return a.pid < b.pid; });
    return scan;
}

std::string groupName(const std::map<unsigned, GroupEntry>& groups, unsigned gid) {
    const auto found = groups.find(gid);
    return found != groups.end() ? found->second.name : std::to_string(gid);
}

// Whether /etc/group lists the user in the group although the running process is not in it:
// the membership was given after this login.
bool listedButNotActive(const std::map<unsigned, GroupEntry>& groups, unsigned gid,
                        const SerialUser& user) {
    const auto found = groups.find(gid);
    if (found == groups.end() || user.name.empty())
        return false;
    const auto& members = found->second.members;
    return std::find(members.begin(), members.end(), user.name) != members.end() &&
           std::find(user.groups.begin(), user.groups.end(), gid) == user.groups.end();
}

void describePort(const SerialPortFinding& port, const std::map<unsigned, GroupEntry>& groups,
                  unsigned gid, const SerialDiagnosisInputs& in, std::vector<std::string>& lines,
                  std::vector<std::string>& advice) {
    std::string heading = "  Port " + std::to_string(port.port) + ": " + port.device;
    for (const auto& name : port.byId)
        heading += "  (" + name + ")";
    lines.push_back(heading);

    if (port.mayOpen) {
        lines.push_back("    You may open it.");
    } else {
        lines.push_back("    You may not open it: it belongs to the group \"" + port.group +
                        "\" and you are not allowed to read and write it.");
        const std::string user = in.user.name.empty() ? "$USER" : in.user.name;
        if (listedButNotActive(groups, gid, in.user))
            advice.push_back("You are a member of the group \"" + port.group +
                             "\" since your last log-in: log out and in again (or restart) so "
                             "that the membership takes effect.");
        else
            advice.push_back("Add yourself to the group \"" + port.group + "\": sudo usermod -aG " +
                             port.group + " " + user + ", then log out and in again.");
    }
    for (const auto& holder : port.holders) {
        if (holder.thisProgram) {
            lines.push_back("    Open in this program (the link to the upload station).");
        } else {
            lines.push_back("    In use by process " + std::to_string(holder.pid) + " (" +
                            holder.command + ").");
            advice.push_back("Close the program \"" + holder.command + "\" (process " +
                             std::to_string(holder.pid) + ") that holds " + port.device +
                             " open, then take the baton off the station and put it back.");
        }
    }
}

} // namespace

SerialUser currentSerialUser() {
    SerialUser user;
    user.uid = ::getuid();
    if (const passwd* entry = ::getpwuid(user.uid); entry && entry->pw_name)
        user.name = entry->pw_name;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> ids(static_cast<std::size_t>(std::max(count, 0)));
    if (count > 0 && ::getgroups(count, ids.data()) == count)
        user.groups.assign(ids.begin(), ids.end());
    const unsigned primary = ::getgid();
    if (std::find(user.groups.begin(), user.groups.end(), primary) == user.groups.end())
        user.groups.push_back(primary);
    return user;
}

SerialDiagnosis DiagnoseSerialPorts(const SerialDiagnosisInputs& in) {
    SerialDiagnosis result;
    const auto groups = readGroups(in.root);
    const auto holders = scanHolders(in.root, in.ownPid);
    const auto devices = listSerialDevices(in.root / "dev", in.root / "sys" / "class" / "tty");

    auto& lines = result.lines;
    std::vector<std::string> advice;
    lines.push_back("Serial ports of this computer:");
    int port = 0;
    for (const auto& device : devices) {
        SerialPortFinding finding;
        finding.port = ++port;
        finding.device = systemPath(in.root, device);
        finding.byId = byIdNames(in.root, device);
        unsigned gid = 0;
        struct stat info {};
        if (::stat(device.c_str(), &info) == 0) {
            finding.mayOpen = userMayOpen(info, in.user);
            gid = info.st_gid;
            finding.group = groupName(groups, gid);
        }
        if (const auto found = holders.byDevice.find(finding.device);
            found != holders.byDevice.end())
            finding.holders = found->second;
        describePort(finding, groups, gid, in, lines, advice);
        result.ports.push_back(std::move(finding));
    }
    if (devices.empty()) {
        lines.push_back("  No serial port was found.");
        advice.push_back("Plug the upload station's USB cable in (or connect it to a serial "
                         "port), wait a few seconds and run this check again. The command "
                         "\"sudo dmesg | tail\" shows whether the system saw the adapter.");
    }

    if (in.configuredDevice && *in.configuredDevice == kSimulatorDevice) {
        lines.push_back("Port " + std::to_string(in.commPort) + " is the simulated station (COM" +
                        std::to_string(in.commPort) +
                        "=simulator in Kestrova.ini): no serial device is used.");
    } else if (in.configuredDevice) {
        lines.push_back("Port " + std::to_string(in.commPort) + " is set to the device " +
                        *in.configuredDevice + " in Kestrova.ini.");
    } else if (in.commPort > 0 && in.commPort <= port) {
        lines.push_back("The station is looked for on port " + std::to_string(in.commPort) +
                        " first.");
    } else if (in.commPort > 0) {
        lines.push_back("The stored port " + std::to_string(in.commPort) +
                        " names no serial port of this computer; the other ports are searched.");
    } else {
        lines.push_back("No port is stored yet; every port is searched for the station.");
    }
    if (holders.unreadable > 0)
        lines.push_back("The open files of " + std::to_string(holders.unreadable) +
                        " processes of other users could not be checked.");

    if (!devices.empty() && advice.empty())
        advice.push_back("The ports look usable. Check that the station has power and that its "
                         "cable is firmly plugged in; the Port Setup window (key \"#\" in the "
                         "main window) chooses the port by hand.");
    lines.push_back("What to do:");
    for (const auto& text : advice)
        lines.push_back("  - " + text);
    return result;
}

} // namespace kestrova
