// kestrova-cli: the program's jobs without a display.
//
//   kestrova-cli [-C DIR] [--now "YYYY-MM-DD HH:MM:SS"] COMMAND [ARGUMENTS]
//
// Exit status 0 on success, 1 when an error ended the job, 2 for a command line that cannot be
// understood.
#include "cli/Commands.h"
#include "cli/ProcessCommand.h"
#include "cli/SiteCommands.h"
#include "cli/UploadCommand.h"
#include "core/Errors.h"

#include <array>
#include <iostream>

namespace {

using namespace kestrova::cli;

constexpr std::array kCommands = {
    Command{"sites", "", runSitesCommand},
    Command{"settings", "", runSettingsCommand},
    Command{"process", "[FILE] [--unknown ignore|existing:SITE|new:SITE]", runProcessCommand},
    Command{"import", "[FILE] [--unknown ignore|existing:SITE|new:SITE]", runImportCommand},
    Command{"upload",
            "--simulate BATONFILE [--port N] [--set-id NNNN] [--baton-after FILE] "
            "[--program-fp SITE]",
            runUploadCommand},
    Command{"upload", "[--port N] [--once | --watch] [--set-id NNNN] [--program-fp SITE]",
            runUploadCommand},
    Command{"station", "--pty BATONFILE [--baton-after FILE]", runStationCommand},
    Command{"checkpoints", "SITE [--print]", runCheckpointsCommand},
    Command{"site", "add NAME", runSiteCommand},
    Command{"schedule", "SITE [--autocorrect]", runScheduleCommand},
    Command{"report",
            "list --site SITE --from \"YYYY-MM-DD HH:MM\" --to \"YYYY-MM-DD HH:MM\" "
            "[--sort] [--point ID] [--csv FILE] [--out DIR]",
            runReportCommand},
    Command{"report",
            "overview --site SITE --shift day|night --from YYYY-MM-DD --to YYYY-MM-DD "
            "[--point ID] [--csv FILE] [--out DIR]",
            runReportCommand},
    Command{"report",
            "exceptions --site SITE --from YYYY-MM-DD --to YYYY-MM-DD [--csv FILE] [--out DIR]",
            runReportCommand},
    Command{"report", "downloads --site SITE [--pdf]", runReportCommand},
    Command{"log", "[--month YYYYMM ...] [--csv FILE]", runLogCommand},
};

void printUsage(std::ostream& err) {
    err << "usage: kestrova-cli [-C DIR] [--now \"YYYY-MM-DD HH:MM:SS\"] COMMAND [ARGUMENTS]\n"
           "commands:\n";
    for (const auto& command : kCommands)
        err << "  " << command.name << (command.usage.empty() ? "" : " ") << command.usage << '\n';
}

struct ParsedLine {
    std::filesystem::path programDir = std::filesystem::current_path();
    std::optional<kestrova::LocalDateTime> now;
    std::optional<std::string> command;
    std::vector<std::string> args;
};

// The global options may stand before or after the command name.
ParsedLine parseLine(int argc, char** argv) {
    ParsedLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw UsageError(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "-C")
            line.programDir = value();
        else if (arg == "--now")
            line.now = parseNow(value());
        else if (!line.command)
            line.command = arg;
        else
            line.args.push_back(arg);
    }
    if (!line.command)
        throw UsageError("no command given");
    return line;
}

} // namespace

int main(int argc, char** argv) {
    try {
        ParsedLine line = parseLine(argc, argv);
        for (const auto& command : kCommands) {
            if (command.name != *line.command)
                continue;
            CliSession session{line.programDir, line.now, std::move(line.args), std::cout,
                               std::cerr};
            return command.run(session);
        }
        throw UsageError("unknown command " + *line.command);
    } catch (const UsageError& error) {
        std::cerr << "kestrova-cli: " << error.what() << '\n';
        printUsage(std::cerr);
        return 2;
    } catch (const std::exception& error) {
        std::cerr << kestrova::generalErrorMessage(error) << '\n';
        return 1;
    }
}
