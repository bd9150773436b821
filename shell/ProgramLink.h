// The comms thread as the program wires it: its services over the shared state (the settings
// record read under its guard at every pass), and the port directory of the settings file,
// whose "COM<n>=simulator" entry puts the simulated station on port n (training without
// hardware). May depend on core and link.
#pragma once

#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "link/CommsSession.h"
#include "link/PortDirectory.h"

#include <optional>

namespace kestrova {

// The parts of the comms thread's services that are not the program's shared state.
struct LinkParts {
    SerialPort& port;
    LinkClock& clock;
    const Clock& wallClock;
    UiThread& ui;
    RawProcessor& processor;
    IdButtonSink& idButtons;
};

LinkServices makeLinkServices(ProgramContext& context, MainState& state, const LinkParts& parts);

// Port names resolved through the settings file's "COM<n>" entries, then the real devices.
PortDirectory settingsPortDirectory(const SettingsFile& settingsFile);

// The lowest port number that a "COM<n>=simulator" entry of the settings file names, if any.
std::optional<int> simulatorPort(const SettingsFile& settingsFile);

} // namespace kestrova
