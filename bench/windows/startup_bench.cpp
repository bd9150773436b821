// Benchmarks of the desktop program, offscreen.
//
// StartUpToReadyWindow: from creating the program's state and main window to the end of the
// start-up sequence (every window created, the installation check over the build tree's
// installation with its MD5s, the language file, 256 sites of 255 ids each read into the site
// checkpoint index, the comms thread started). Reported per repetition in milliseconds, with
// the median of the repetitions (goal: under 300 ms). Argument 1 leaves the installation check
// with no file to check, to show its share (the program file of a build with debug
// information is tens of megabytes, and every vital file's digest is computed).
//
// EventLoopStallDuringUpload: a full baton (8 memory chips of 4,099 records) uploaded from the
// simulated station in virtual time while the main window shows it; a 1 ms timer on the
// user-interface thread measures the longest time the event loop was kept from running,
// outside upload processing (DoRaw runs on that thread by design and is left out). Reported:
// stall_ms (goal: under 50 ms); stall_cpu_ms, the most processor time the thread spent between
// two ticks (what the program itself held the loop for, whatever the machine's load); the
// number of shared-state changes and of ticks.
#include "app/DesktopProgram.h"
#include "app/Installation.h"
#include "app/uMain.h"
#include "bench/FullBaton.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "sim/UploadScript.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <time.h>
#include <vector>

namespace {

using namespace kestrova;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string hex2(int value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

// The chip byte of the full baton's ids: chip 14 .. 0.
int chipOfSite(int site) {
    return 14 - 2 * site;
}

// 256 sites of 255 ids each. The first eight hold the full baton's ids ("A1" + chip + n), the
// others ids of their own; unknown ids (n = FF) are discarded without a question.
const fs::path& programDirectory() {
    static testing::TempDir dir;
    static const bool made = [] {
        for (int site = 0; site < 256; ++site) {
            char name[16];
            std::snprintf(name, sizeof name, "Site %03d", site);
            fs::create_directories(dir / name / "Raw");
            std::string list = std::string("//Checkpoint list for ") + name + "\r\n\r\n";
            for (int n = 0; n < 255; ++n) {
                const std::string id = site < 8 ? "A1" + hex2(chipOfSite(site)) + hex2(n)
                                                : "B0" + hex2(site) + hex2(n);
                list += id + " = Point " + std::to_string(n + 1) + "\r\n";
            }
            list += "\r\n//End of File\r\n";
            testing::writeFile(dir / name / "checkpt.lst", list);
        }
        testing::writeFile(dir / "Kestrova.ini",
                           "CommPort=1\r\nCOM1=simulator\r\nLanguageFile=English.lng\r\n"
                           "DiscardUnknownCheckpoints=T\r\nOpenReportAfterProcessing=F\r\n");
        fs::copy_file(fs::path(KESTROVA_SOURCE_DIR) / "data" / "English.lng", dir / "English.lng");
        return true;
    }();
    (void)made;
    return dir.path();
}

Installation buildTreeInstallation(bool checked = true) {
    return Installation{KESTROVA_BINARY_DIR,
                        checked ? app::vitalFiles() : std::span<const VitalFile>()};
}

bool startUp(app::TfrmMain& main) {
    main.show();
    while (!main.started() && !main.startUpFailed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return main.started();
}

void StartUpToReadyWindow(benchmark::State& bench) {
    const fs::path& dir = programDirectory();
    for (auto _ : bench) {
        testing::FakeDesktop fake;
        sim::VirtualClock time;
        const auto begin = Clock::now();
        app::DesktopProgram program(fake.desktop, app::ProgramOptions{dir, &time});
        app::TfrmMain main(program, buildTreeInstallation(bench.range(0) == 0));
        const bool started = startUp(main);
        const auto end = Clock::now();
        if (!started || program.context().sites.size() != 256) {
            bench.SkipWithError("start-up failed");
            return;
        }
        bench.SetIterationTime(std::chrono::duration<double>(end - begin).count());
        main.close();
    }
}
BENCHMARK(StartUpToReadyWindow)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(11);

// The processor time of the calling thread.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The busy indicator, as processing sets it: the spans during which DoRaw holds the thread.
class ProcessingSpans : public BusyIndicator {
public:
    void setBusy(bool busy) override {
        if (busy)
            spans.push_back({Clock::now(), Clock::time_point::max()});
        else if (!spans.empty())
            spans.back().second = Clock::now();
    }
    bool overlaps(Clock::time_point from, Clock::time_point to) const {
        return std::any_of(spans.begin(), spans.end(),
                           [&](const auto& span) { return from < span.second && span.first < to; });
    }
    std::vector<std::pair<Clock::time_point, Clock::time_point>> spans;
};

void EventLoopStallDuringUpload(benchmark::State& bench) {
    const fs::path& dir = programDirectory();
    for (auto _ : bench) {
        testing::FakeDesktop fake;
        ProcessingSpans processing;
        const Desktop desktop{fake.dialogs, fake.events, processing,  fake.documents,
                              fake.beeper,  fake.clock,  fake.locale, fake.trash};
        sim::VirtualClock time;
        app::DesktopProgram program(desktop, app::ProgramOptions{dir, &time});
        app::TfrmMain main(program, buildTreeInstallation());
        if (!startUp(main)) {
            bench.SkipWithError("start-up failed");
            return;
        }
        std::atomic<long> changes{0};
        program.state().subscribe([&](MainField) { ++changes; });

        // Each gap between ticks, with the processor time this thread spent in it: on a loaded
        // machine a long gap may be the thread waiting for a core, not work that held it.
        struct Gap {
            Clock::time_point from, to;
            double cpuMs;
        };
        std::vector<Gap> gaps;
        Clock::time_point last = Clock::now();
        double lastCpu = threadCpuMs();
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const auto now = Clock::now();
            const double cpu = threadCpuMs();
            gaps.push_back({last, now, cpu - lastCpu});
            last = now;
            lastCpu = cpu;
        });
        tick.start(1);

        sim::UploadScript script(program.state(), *program.station(), program.context().messages,
                                 bench::fullBaton(), std::stop_source());
        const auto giveUp = Clock::now() + std::chrono::minutes(5);
        while (!script.finished() && Clock::now() < giveUp)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        tick.stop();
        if (!script.finished()) {
            bench.SkipWithError(
                ("the upload did not finish: " + program.state().statusText()).c_str());
            return;
        }
        double stall = 0;
        double stallCpu = 0;
        for (const Gap& gap : gaps)
            if (!processing.overlaps(gap.from, gap.to)) {
                stall = std::max(
                    stall, std::chrono::duration<double, std::milli>(gap.to - gap.from).count());
                stallCpu = std::max(stallCpu, gap.cpuMs);
            }
        bench.counters["stall_ms"] = stall;
        bench.counters["stall_cpu_ms"] = stallCpu;
        bench.counters["ticks"] = static_cast<double>(gaps.size());
        bench.counters["state_changes"] = static_cast<double>(changes.load());
        bench.counters["processing_spans"] = static_cast<double>(processing.spans.size());
        main.close();
    }
}
BENCHMARK(EventLoopStallDuringUpload)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::ifstream load("/proc/loadavg");
    std::string average;
    std::getline(load, average);
    benchmark::AddCustomContext("loadavg", average);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
