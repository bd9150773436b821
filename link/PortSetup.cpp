// The Port Setup window's action on the settings and the shared state.
#include "link/PortSetup.h"

#include <algorithm>

namespace kestrova {

void PortSetupOk(ProgramContext& context, MainState& state, int number) {
    const int port = std::clamp(number, kPortSetupMin, kPortSetupMax);
    const std::string text = std::to_string(port);
    context.settings.update([&](Settings& settings) { settings.commPort = text; });
    state.setPortNumber(port);
    context.settingsFile.SetSetting("CommPort", text);
    context.adminLog.WriteAdminLog("unknown", "Set the Port Number to" + text);
}

} // namespace kestrova
