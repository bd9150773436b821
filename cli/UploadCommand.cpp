// kestrova-cli upload. With --simulate: the simulated station goes on port N (default 1), the comms
// thread starts as at start-up (the station search begins at the CommPort setting), the baton
// of BATONFILE is put down once the station is found and taken off once the session watches it
// after its upload; the run ends when the session looks for a baton again. Every new status
// line is printed, then the reports processing wrote. The comms thread runs on its own thread
// as in the program; processing runs on this one, handed over as the main window's would be.
// Time is the simulator's: a run of minutes of station time takes a moment. Without it: the
// station on its port, in real time (runStationUpload).
#include "cli/UploadCommand.h"

#include "cli/StopSignals.h"
#include "core/Errors.h"
#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/TextFile.h"
#include "link/CommsThread.h"
#include "link/DefaultSiteIdButtons.h"
#include "link/IdNumber.h"
#include "link/PortRouter.h"
#include "pdf/pdfprint.h"
#include "processing/UnknownCheckpointOption.h"
#include "shell/ProgramLink.h"
#include "shell/UploadProcessor.h"
#include "sim/BatonFile.h"
#include "sim/SimStation.h"
#include "sim/SimulatedWallClock.h"
#include "sim/UploadScript.h"
#include "sites/CheckpointEditor.h"

#include <atomic>
#include <mutex>

namespace kestrova::cli {
namespace fs = std::filesystem;

namespace {

// A run that has not ended after this much station time is stuck.
constexpr std::uint64_t kRunLimitMs = 6ULL * 3600 * 1000;

struct Arguments {
    std::optional<fs::path> batonFile; // --simulate; none: the real station
    std::optional<int> port;
    bool watch = false;
    std::optional<std::string> setId;
    std::optional<fs::path> batonAfter;
    std::optional<std::string> programSite;
};

// "Program Next Baton" with the schedule stored in the site's list; false when it was refused
// (the message is on standard error).
bool programFailedPatrol(ProgramContext& context, MainState& state, const std::string& site) {
    ScheduleFields schedule;
    if (checkpointListExists(context.programDir, site))
        schedule = scheduleFromValues(LoadCheckpointList(context.programDir, site).schedule);
    const ProgramResult result =
        ProgramFailedPatrol(context, state, panelProgramming(site, schedule));
    return result.outcome == ProgramOutcome::Programmed;
}

Arguments parseArguments(const std::vector<std::string>& args) {
    Arguments parsed;
    bool simulate = false;
    bool once = false;
    bool watch = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= args.size())
                throw UsageError("upload: " + arg + " needs a value");
            return args[++i];
        };
        if (arg == "--simulate") {
            simulate = true;
            parsed.batonFile = value();
        } else if (arg == "--once" || arg == "--watch") {
            if (once || watch)
                throw UsageError("upload: give one of --once and --watch");
            (arg == "--once" ? once : watch) = true;
        } else if (arg == "--port") {
            const std::string text = value();
            try {
                parsed.port = toInteger(text);
            } catch (const ConversionError&) {
                parsed.port = -1;
            }
            if (parsed.port < 0 || parsed.port > 1023)
                throw UsageError("upload: --port takes a number from 0 to 1023, not " + text);
        } else if (arg == "--set-id") {
            parsed.setId = value();
            if (!isIdNumber(*parsed.setId))
                throw UsageError("upload: --set-id takes a letter or digit and three digits, "
                                 "not " +
                                 *parsed.setId);
        } else if (arg == "--baton-after") {
            parsed.batonAfter = value();
        } else if (arg == "--program-fp") {
            parsed.programSite = value();
        } else {
            throw UsageError("upload: unexpected argument " + arg);
        }
    }
    if (simulate && (once || watch))
        throw UsageError("upload: a simulated upload is one baton; --once and --watch are for "
                         "the station on a port");
    if (!simulate && parsed.batonAfter)
        throw UsageError("upload: --baton-after needs --simulate");
    parsed.watch = watch;
    return parsed;
}

// The station on a real port (or a pseudo-terminal, or a network port) as the program drives
// it, in real time: --once ends once the first baton has been read and processed and the
// session has gone on (watching it, or looking for the next), --watch goes on until SIGINT or
// SIGTERM. Either signal ends the run between two steps of the session: the
// record being received is finished, the upload file holds only what left the baton, the port
// is closed.
int runStationUpload(CliSession& session, const Arguments& arguments) {
    CliProgram program(session);
    program.loadSettingsAndMessages();
    program.loadSites();
    ProgramContext& context = program.context();
    const StopSignals signals;

    SteadyLinkClock clock;
    PortRouter port(settingsPortDirectory(context.settingsFile), clock, nullptr);
    MainState state;
    if (arguments.setId)
        IdNumberOk(state, context.adminLog, context.messages, *arguments.setId, IdEntry::OkButton);
    if (arguments.programSite && !programFailedPatrol(context, state, *arguments.programSite))
        return 1;
    std::mutex printing;
    // A baton is done with once its upload has been processed and the session has gone on:
    // watching it, or looking again when it stopped answering or was taken off.
    const std::string watching = "Kestrova  -  " + context.messages.MessageText(114);
    const std::string processing = context.messages.MessageText(37);
    std::atomic<bool> processed = false;
    std::atomic<bool> read = false;
    state.subscribe([&](MainField field) {
        if (field == MainField::Caption && state.caption() == watching)
            read = true;
        if (field != MainField::StatusText)
            return;
        const std::string status = state.statusText();
        if (status == processing)
            processed = true;
        else if (processed)
            read = true;
        const std::lock_guard lock(printing);
        session.out << status << std::endl;
    });

    const auto defaultSite =
        context.sites.at(static_cast<std::size_t>(std::max(0, context.settings.get().defaultSite)));
    DefaultSiteIdButtons idButtons(context.programDir, defaultSite.value_or(""), context.messages,
                                   context.adminLog);
    pdf::PdfPrint print(context.desktop.clock, context.desktop.locale);
    AnsweringChooser chooser(UnknownCheckpointAnswer{}, session.err);
    UploadProcessor processor(context, state, chooser, print);
    QueuedUiThread ui;
    LinkServices services = makeLinkServices(
        context, state, LinkParts{port, clock, context.desktop.clock, ui, processor, idButtons});
    if (arguments.port) {
        // The search starts at the given port instead of the CommPort setting.
        services.settings = [&settings = context.settings, first = *arguments.port] {
            Settings copy = settings.get();
            copy.commPort = std::to_string(first);
            return copy;
        };
    }
    TCommsThread comms(services);
    comms.start();
    while (comms.running()) {
        ui.serve(std::chrono::milliseconds(20));
        if (signals.received() || (!arguments.watch && read))
            comms.requestStop();
    }
    comms.stop();
    for (const fs::path& report : processor.reports())
        session.out << report.lexically_relative(context.programDir).generic_string() << '\n';
    return 0;
}

} // namespace

int runUploadCommand(CliSession& session) {
    const Arguments arguments = parseArguments(session.args);
    if (!arguments.batonFile)
        return runStationUpload(session, arguments);

    CliProgram program(session);
    program.loadSettingsAndMessages();
    program.loadSites();
    ProgramContext& context = program.context();

    sim::VirtualClock stationTime;
    const sim::SimulatedWallClock wall(stationTime, context.desktop.clock.now());
    const sim::SimBaton baton =
        sim::parseBatonFile(readFileBytes(fs::absolute(*arguments.batonFile)), wall.now());
    sim::SimStation station(stationTime);
    const std::string simulatedPort = "COM" + std::to_string(arguments.port.value_or(1));
    PortRouter port(PortDirectory(
                        [&](const std::string& key) -> std::optional<std::string> {
                            if (key == simulatedPort)
                                return std::string(kSimulatorDevice);
                            return std::nullopt; // no real device takes part in a simulation
                        },
                        "/nonexistent"),
                    stationTime, &station);

    MainState state;
    if (arguments.setId)
        IdNumberOk(state, context.adminLog, context.messages, *arguments.setId, IdEntry::OkButton);

    if (arguments.programSite && !programFailedPatrol(context, state, *arguments.programSite))
        return 1;

    std::mutex printing;
    state.subscribe([&](MainField field) {
        if (field != MainField::StatusText)
            return;
        const std::lock_guard lock(printing);
        session.out << state.statusText() << '\n';
    });

    const auto defaultSite =
        context.sites.at(static_cast<std::size_t>(std::max(0, context.settings.get().defaultSite)));
    DefaultSiteIdButtons idButtons(context.programDir, defaultSite.value_or(""), context.messages,
                                   context.adminLog);
    // Processing as an upload runs it, unknown clockings ignored.
    pdf::PdfPrint print(context.desktop.clock, context.desktop.locale);
    AnsweringChooser chooser(UnknownCheckpointAnswer{}, session.err);
    UploadProcessor processor(context, state, chooser, print);
    QueuedUiThread ui;

    TCommsThread comms(makeLinkServices(
        context, state, LinkParts{port, stationTime, wall, ui, processor, idButtons}));
    // The script listens before the thread starts: the station may be found at once.
    sim::UploadScript script(state, station, context.messages, baton, comms.stopSource());
    comms.start();
    station.at(stationTime.nowMs() + kRunLimitMs, [&] { comms.requestStop(); });
    while (comms.running())
        ui.serve(std::chrono::milliseconds(20));
    comms.stop();

    if (!script.finished()) {
        session.err << "upload: the simulated session did not come back to the baton search\n";
        return 1;
    }
    for (const fs::path& report : processor.reports())
        session.out << report.lexically_relative(context.programDir).generic_string() << '\n';
    if (arguments.batonAfter && script.batonAfter())
        replaceFile(fs::absolute(*arguments.batonAfter),
                    sim::formatBatonFile(*script.batonAfter()));
    return 0;
}

} // namespace kestrova::cli
