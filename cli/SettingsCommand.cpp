// kestrova-cli settings: loads the settings file as start-up does and prints the record, one
// Key=Value line per key in reading order.
#include "cli/Commands.h"
#include "core/Errors.h"
#include "core/ProgramContext.h"

namespace kestrova::cli {

int runSettingsCommand(CliSession& session) {
    if (!session.args.empty())
        throw UsageError("settings takes no arguments");
    CliProgram program(session);
    ProgramContext& context = program.context();
    int status = 0;
    Settings settings;
    try {
        context.settingsFile.LoadSettings(settings, context.desktop.documents, nullptr);
    } catch (const ConversionError& error) {
        session.err << generalErrorMessage(error) << '\n';
        status = 1;
    }
    context.settings.set(settings);
    for (const auto key : settingKeys())
        session.out << key << '=' << settingValueText(settings, key) << '\n';
    return status;
}

} // namespace kestrova::cli
