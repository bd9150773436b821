// Which device a port number names. The program numbers ports as "COM" + number; on Windows
// that is the device name itself. Here an entry "COM<n>=<device>" of the settings file comes
// first (a /dev/serial/by-id/... path stays right when adapters are plugged in another order;
// the value "simulator" puts the simulated station on the port, "rfc2217://HOST:PORT" the
// serial port of a device server on the network). Without an entry, port n is
// the n-th real serial device in this order: USB adapters (ttyUSB0, ttyUSB1, ...), ACM devices
// (ttyACM0, ...), then built-in ports (ttyS0, ...) that have a UART; numbers within a kind in
// numeric order. Port 0 names no device. Standard library only.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

inline constexpr std::string_view kSimulatorDevice = "simulator";

// The real serial devices, in port order. `sysClassTty` tells the placeholder built-in ports
// (a "type" of 0: no UART behind them) from real ones.
std::vector<std::string>
listSerialDevices(const std::filesystem::path& devDir = "/dev",
                  const std::filesystem::path& sysClassTty = "/sys/class/tty");

// Port numbers run below this.
inline constexpr int kPortLimit = 1024;

// The CommPort setting as a port number: leading spaces, then a decimal number below 1024.
// Any other text counts as 0, "no port chosen", from which the station search starts at
// port 1.
int commPortNumber(const std::string& setting);

// The port number of a port name "COM<n>"; no value for other names.
std::optional<int> portNumberOf(const std::string& portName);

// Resolves port names to devices: `entry` looks up the settings entry for a key such as
// "COM5".
class PortDirectory {
public:
    using EntryLookup = std::function<std::optional<std::string>(const std::string& key)>;

    PortDirectory(EntryLookup entry, std::filesystem::path devDir = "/dev",
                  std::filesystem::path sysClassTty = "/sys/class/tty");

    // The device of a port name, empty when the name names none.
    std::string deviceFor(const std::string& portName) const;

private:
    EntryLookup entry_;
    std::filesystem::path devDir_;
    std::filesystem::path sysClassTty_;
};

} // namespace kestrova
