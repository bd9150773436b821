// The comms thread's wiring over the shared state.
#include "shell/ProgramLink.h"

#include "core/FileNames.h"
#include "core/TextFile.h"

namespace kestrova {

LinkServices makeLinkServices(ProgramContext& context, MainState& state, const LinkParts& parts) {
    return LinkServices{context.programDir,
                        context.trace.sessionNumber(),
                        parts.port,
                        parts.clock,
                        state,
                        context.messages,
                        context.settingsFile,
                        [&settings = context.settings] { return settings.get(); },
                        parts.wallClock,
                        context.desktop.beeper,
                        parts.ui,
                        parts.processor,
                        context.adminLog,
                        parts.idButtons};
}

PortDirectory settingsPortDirectory(const SettingsFile& settingsFile) {
    return PortDirectory(
        [&settingsFile](const std::string& key) { return settingsFile.value(key); });
}

std::optional<int> simulatorPort(const SettingsFile& settingsFile) {
    const std::filesystem::path file = settingsFile.path();
    if (!fileExists(file))
        return std::nullopt;
    std::optional<int> lowest;
    for (const std::string& line : readLines(file)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        const auto port = portNumberOf(key);
        // The entry that counts is the first of its name, as the port directory reads it.
        if (!port || *port <= 0 || settingsFile.value(key) != std::string(kSimulatorDevice))
            continue;
        if (!lowest || *port < *lowest)
            lowest = *port;
    }
    return lowest;
}

} // namespace kestrova
