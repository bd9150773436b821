// Port numbers to device paths.
#include "link/PortDirectory.h"

#include "core/FileNames.h"

#include <algorithm>
#include <charconv>
#include <fstream>

namespace kestrova {

namespace {

// The number after `prefix` in a device name such as "ttyUSB12".
std::optional<int> suffixNumber(const std::string& name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    int value = 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last)
        return std::nullopt;
    return value;
}

// A built-in port is real when the kernel found a UART for it (a "type" other than 0).
bool hasUart(const std::filesystem::path& sysClassTty, const std::string& name) {
    std::ifstream type(sysClassTty / name / "type");
    int value = 0;
    return static_cast<bool>(type >> value) && value != 0;
}

} // namespace

int commPortNumber(const std::string& setting) {
    int value = 0;
    const char* first = setting.data();
    const char* last = setting.data() + setting.size();
    while (first != last && *first == ' ')
        ++first;
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && value >= 0 && value < kPortLimit ? value : 0;
}

std::vector<std::string> listSerialDevices(const std::filesystem::path& devDir,
                                           const std::filesystem::path& sysClassTty) {
    struct Kind {
        std::string_view prefix;
        bool needsUart;
    };
    constexpr Kind kKinds[] = {{"ttyUSB", false}, {"ttyACM", false}, {"ttyS", true}};
    std::vector<std::string> devices;
    std::error_code error;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(devDir, error))
        names.push_back(entry.path().filename().string());
    for (const Kind& kind : kKinds) {
        std::vector<std::pair<int, std::string>> found;
        for (const std::string& name : names) {
            const auto number = suffixNumber(name, kind.prefix);
            if (number && (!kind.needsUart || hasUart(sysClassTty, name)))
                found.emplace_back(*number, name);
        }
        std::sort(found.begin(), found.end());
        for (const auto& device : found)
            devices.push_back((devDir / device.second).string());
    }
    return devices;
}

std::optional<int> portNumberOf(const std::string& portName) {
    if (portName.size() < 4 || !equalsIgnoreCase(portName.substr(0, 3), "COM"))
        return std::nullopt;
    return suffixNumber("COM" + portName.substr(3), "COM");
}

PortDirectory::PortDirectory(EntryLookup entry, std::filesystem::path devDir,
                             std::filesystem::path sysClassTty)
    : entry_(std::move(entry)), devDir_(std::move(devDir)), sysClassTty_(std::move(sysClassTty)) {}

std::string PortDirectory::deviceFor(const std::string& portName) const {
    const auto number = portNumberOf(portName);
    if (!number)
        return {};
    if (entry_) {
        if (auto device = entry_("COM" + std::to_string(*number)); device && !device->empty())
            return *device;
    }
    if (*number < 1)
        return {};
    const auto devices = listSerialDevices(devDir_, sysClassTty_);
    const auto index = static_cast<std::size_t>(*number - 1);
    return index < devices.size() ? devices[index] : std::string();
}

} // namespace kestrova
