// What helps a user whose upload station is not found: which serial devices exist (USB
// adapters, ACM devices, built-in ports with a UART, and their stable /dev/serial/by-id names),
// which port number each has, whether this user may open them (owner, group and the usual
// "dialout" group), whether another process holds one open, and what to do about each finding.
// Everything is read below a root directory, so a test runs it on a small fixture tree.
// Standard library and POSIX stat only.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

// The user the program runs as.
struct SerialUser {
    unsigned uid = 0;
    std::string name;
    std::vector<unsigned> groups; // the process's group ids, primary included
};

// The user of this process, from the system.
SerialUser currentSerialUser();

// A process that holds a device open.
struct PortHolder {
    int pid = 0;
    std::string command; // its name, as /proc/<pid>/comm gives it
    bool thisProgram = false;

    friend bool operator==(const PortHolder&, const PortHolder&) = default;
};

struct SerialPortFinding {
    int port = 0;                    // the program's port number for the device
    std::string device;              // "/dev/ttyUSB0"
    std::vector<std::string> byId;   // its /dev/serial/by-id names
    bool mayOpen = false;            // read and write allowed for the user
    std::string group;               // the device's group name (its number when unnamed)
    std::vector<PortHolder> holders; // processes that hold it open
};

struct SerialDiagnosisInputs {
    std::filesystem::path root = "/";
    SerialUser user;
    int ownPid = 0;   // this program's process id
    int commPort = 0; // the CommPort setting
    // The device the CommPort setting names through a "COM<n>=" entry, when there is one.
    std::optional<std::string> configuredDevice;
};

struct SerialDiagnosis {
    std::vector<SerialPortFinding> ports;
    std::vector<std::string> lines; // the findings and what to do, for the user to read
};

SerialDiagnosis DiagnoseSerialPorts(const SerialDiagnosisInputs& inputs);

} // namespace kestrova
