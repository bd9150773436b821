// kestrova-cli station --pty BATONFILE [--baton-after FILE]: the simulated station with the
// baton of BATONFILE, served on a pseudo-terminal in real time. The first line printed is the
// device to open (a "COM<n>=<device>" entry of the settings file puts it on port n). It serves
// until SIGINT or SIGTERM; then the baton is taken off and, with --baton-after, written in the
// BATONFILE form.
#include "cli/StopSignals.h"
#include "cli/UploadCommand.h"
#include "core/TextFile.h"
#include "sim/BatonFile.h"
#include "sim/PtyStation.h"

#include <chrono>
#include <thread>

namespace kestrova::cli {
namespace fs = std::filesystem;

int runStationCommand(CliSession& session) {
    std::optional<fs::path> batonFile;
    std::optional<fs::path> batonAfter;
    const auto& args = session.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if ((arg == "--pty" || arg == "--baton-after") && i + 1 >= args.size())
            throw UsageError("station: " + arg + " needs a value");
        if (arg == "--pty")
            batonFile = args[++i];
        else if (arg == "--baton-after")
            batonAfter = args[++i];
        else
            throw UsageError("station: unexpected argument " + arg);
    }
    if (!batonFile)
        throw UsageError("station: --pty BATONFILE is needed");

    CliProgram program(session);
    const sim::SimBaton baton =
        sim::parseBatonFile(readFileBytes(fs::absolute(*batonFile)), program.desktop().clock.now());
    const StopSignals signals;
    sim::PtyStation station(baton);
    station.start();
    session.out << station.devicePath() << std::endl;
    while (!signals.received())
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    station.stop();
    const auto after = station.takeBatonOff();
    if (batonAfter && after)
        replaceFile(fs::absolute(*batonAfter), sim::formatBatonFile(*after));
    return 0;
}

} // namespace kestrova::cli
