// Benchmarks of the baton link.
//
// FullBatonDownload: a baton of 8 memory chips of 4,099 records each, downloaded through the
// simulated station in virtual time. The floor is what the line and the session's prescribed
// waits allow: every Read Next costs 13 character times at 9600 baud 8N2 (its first byte out,
// its two echoed bytes and the ten-byte record back, which queue on the one line to the PC),
// each command exchange its bytes likewise, and each chip its prescribed waits. Reported:
// simulated seconds, floor seconds and their ratio (goal: under 1.01).
//
// CommsThreadCpu: the comms thread against the simulated station in real time, 10 s looking
// for a baton and 10 s watching one after its upload; reported: its processor time as a share
// of one core (goal: under 1 %).
//
// PtyBatonDownload: the same full baton from the simulated station served on a pseudo-terminal
// (as `kestrova-cli station --pty` serves it), through the termios port, in real time, against
// the same floor; reported: real seconds, floor seconds and their ratio.
//
// PtyCommsThreadCpu: the comms thread watching a baton over the pseudo-terminal for 10 s, in
// real time; reported: its processor time as a share of one core (goal: under 1 %).
#include "bench/FullBaton.h"
#include "core/AdminLog.h"
#include "core/MainState.h"
#include "core/MessageTable.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "link/CommsThread.h"
#include "link/PortRouter.h"
#include "link/UploadFile.h"
#include "sim/PtyStation.h"
#include "sim/SimStation.h"
#include "sim/SimulatedWallClock.h"
#include "sim/UploadScript.h"

#include <benchmark/benchmark.h>
#include <condition_variable>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <time.h>

namespace {

using namespace kestrova;

class CountingProcessor : public RawProcessor {
public:
    void DoRaw() override { ++calls; }
    int calls = 0;
};

class NoButtons : public IdButtonSink {
public:
    void IdButtonRead(const std::string&) override {}
};

// A program directory and the station on port 1, over the given clock.
// `device` is port 1's device: the simulated station by default.
struct Bench {
    Bench(sim::SimClock& c, RawProcessor& p, std::string device = std::string(kSimulatorDevice))
        : processor(p), clock(c), wall(c, LocalDateTime{2025, 3, 14, 10, 0, 0, 0}), station(c),
          router(PortDirectory(
                     [device](const std::string& key) -> std::optional<std::string> {
                         if (key == "COM1")
                             return device;
                         return std::nullopt;
                     },
                     "/nonexistent"),
                 c, &station),
          settingsFile(dir.path()), adminLog(dir.path(), wall) {
        messages.SetDefaultMessages();
        createEmptyFileIfMissing(dir / "Kestrova.ini");
    }
    LinkServices services() {
        return LinkServices{dir.path(),   "1",
                            router,       clock,
                            state,        messages,
                            settingsFile, [] { return Settings{}; },
                            wall,         desktop.beeper,
                            ui,           processor,
                            adminLog,     buttons};
    }
    RawProcessor& processor;
    testing::TempDir dir;
    testing::FakeDesktop desktop;
    sim::SimClock& clock;
    sim::SimulatedWallClock wall;
    sim::SimStation station;
    PortRouter router;
    MainState state;
    MessageTable messages;
    SettingsFile settingsFile;
    AdminLog adminLog;
    DirectUiThread ui;
    NoButtons buttons;
};

constexpr double kByteMs = static_cast<double>(sim::kByteNs) / 1e6;

// The floor of the download phase, from the first Get Size to processing.
double floorMs(int chips, int records) {
    const double perRecord = 13 * kByteMs; // Read Next out, echo and record back
    double total = 0;
    for (int chip = 0; chip < chips; ++chip) {
        total += 1;                         // Dly before the chip's step
        total += (1 + 3 + 4) * kByteMs;     // Get Size, echo, size reply
        total += 500;                       // the wait before Set Pointer
        total += (1 + 6 + 3) * kByteMs;     // Set Pointer, echo, status
        total += (records + 1) * perRecord; // the header record and the clockings
        total += 1500;                      // the silence that ends the chip's reading
        total += 100;                       // Dly before the clearing
        total += (1 + 5 + 3) * kByteMs;     // Set End, echo, status
        total += 100;                       // Dly before the main step
    }
    // Chips 2 and 0 of an upload under way: their first Set Pointer status starts no read, so
    // each waits out the echo's 500 ms and its re-request 500 ms more.
    total += 2 * (500 + 7 * kByteMs + 500 + (1 + 6 + 3) * kByteMs);
    return total;
}

// A full baton's download time (from the first Get Size to processing) against the floor, and
// the clocking lines it left in the upload file.
void reportAgainstFloor(benchmark::State& bench, const char* timeCounter, std::uint64_t measuredMs,
                        const std::filesystem::path& programDir) {
    const double measured = static_cast<double>(measuredMs);
    const double floor = floorMs(bench::kFullBatonChips, bench::kRecordsPerChip);
    bench.counters[timeCounter] = measured / 1000;
    bench.counters["floor_s"] = floor / 1000;
    bench.counters["ratio"] = measured / floor;
    bench.counters["lines"] = static_cast<double>(readLines(rawUploadFile(programDir)).size() - 1);
}

void FullBatonDownload(benchmark::State& bench) {
    for (auto _ : bench) {
        sim::VirtualClock clock;
        struct Marking : RawProcessor {
            std::function<void()> mark;
            void DoRaw() override { mark(); }
        } marking;
        Bench b(clock, marking);
        std::stop_source stop;
        std::optional<std::uint64_t> firstSize;
        std::optional<std::uint64_t> processed;
        b.state.subscribe([&](MainField field) {
            if (field == MainField::StatusText && !firstSize &&
                b.state.statusText() == "Downloading Data 9")
                firstSize = clock.nowMs();
        });
        marking.mark = [&] {
            processed = clock.nowMs();
            stop.request_stop();
        };
        sim::UploadScript script(b.state, b.station, b.messages, bench::fullBaton(), stop);
        RunComms(b.services(), stop.get_token());
        if (!firstSize || !processed) {
            bench.SkipWithError(("the download did not finish: " + b.state.statusText() + " " +
                                 std::to_string(clock.nowMs()) + (firstSize ? " sized" : "") +
                                 (processed ? " processed" : ""))
                                    .c_str());
            return;
        }
        reportAgainstFloor(bench, "simulated_s", *processed - *firstSize, b.dir.path());
    }
}
BENCHMARK(FullBatonDownload)->Unit(benchmark::kMillisecond)->Iterations(1);

double threadCpuSeconds(pthread_t thread) {
    clockid_t id{};
    timespec t{};
    if (pthread_getcpuclockid(thread, &id) != 0 || clock_gettime(id, &t) != 0)
        return -1;
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void CommsThreadCpu(benchmark::State& bench) {
    for (auto _ : bench) {
        sim::SteadySimClock clock;
        CountingProcessor processor;
        Bench b(clock, processor);
        sim::SimBaton baton;
        baton.clock = LocalDateTime{2025, 3, 14, 10, 0, 0, 0};
        std::jthread comms([&](std::stop_token stop) { RunComms(b.services(), stop); });
        const pthread_t handle = comms.native_handle();
        // Searching for a baton.
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double searchStart = threadCpuSeconds(handle);
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const double searching = threadCpuSeconds(handle) - searchStart;
        // Watching a baton that has been read.
        b.station.placeBaton(baton);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double watchStart = threadCpuSeconds(handle);
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const double watchingCpu = threadCpuSeconds(handle) - watchStart;
        const std::string status = b.state.statusText();
        comms.request_stop();
        comms.join();
        if (status != b.messages.MessageText(12)) {
            bench.SkipWithError(("not watching the baton: " + status).c_str());
            return;
        }
        bench.counters["searching_cpu_pct"] = searching / 10 * 100;
        bench.counters["watching_cpu_pct"] = watchingCpu / 10 * 100;
    }
}
BENCHMARK(CommsThreadCpu)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// Port 1 is the pseudo-terminal of a simulated station served in real time.
struct PtyBench {
    explicit PtyBench(RawProcessor& processor, sim::SimBaton baton)
        : station(std::move(baton)), bench(clock, processor, station.devicePath()) {
        station.start();
    }
    sim::SteadySimClock clock;
    sim::PtyStation station;
    Bench bench;
};

void PtyBatonDownload(benchmark::State& bench) {
    for (auto _ : bench) {
        struct Marking : RawProcessor {
            std::function<void()> mark;
            void DoRaw() override { mark(); }
        } marking;
        PtyBench pty(marking, bench::fullBaton());
        Bench& b = pty.bench;
        std::stop_source stop;
        std::optional<std::uint64_t> firstSize;
        std::optional<std::uint64_t> processed;
        b.state.subscribe([&](MainField field) {
            if (field == MainField::StatusText && !firstSize &&
                b.state.statusText() == "Downloading Data 9")
                firstSize = pty.clock.nowMs();
        });
        marking.mark = [&] {
            processed = pty.clock.nowMs();
            stop.request_stop();
        };
        std::jthread limit([&stop](std::stop_token own) {
            std::mutex m;
            std::unique_lock lock(m);
            std::condition_variable_any().wait_for(lock, own, std::chrono::minutes(15),
                                                   [] { return false; });
            stop.request_stop();
        });
        RunComms(b.services(), stop.get_token());
        limit.request_stop();
        if (!firstSize || !processed) {
            bench.SkipWithError(("the download did not finish: " + b.state.statusText()).c_str());
            return;
        }
        reportAgainstFloor(bench, "real_s", *processed - *firstSize, b.dir.path());
    }
}
BENCHMARK(PtyBatonDownload)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void PtyCommsThreadCpu(benchmark::State& bench) {
    for (auto _ : bench) {
        CountingProcessor processor;
        sim::SimBaton baton;
        baton.clock = LocalDateTime{2025, 3, 14, 10, 0, 0, 0};
        PtyBench pty(processor, baton);
        Bench& b = pty.bench;
        std::jthread comms([&](std::stop_token stop) { RunComms(b.services(), stop); });
        const pthread_t handle = comms.native_handle();
        const std::string watching = b.messages.MessageText(12);
        for (int i = 0; i < 300 && b.state.statusText() != watching; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double watchStart = threadCpuSeconds(handle);
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const double watchingCpu = threadCpuSeconds(handle) - watchStart;
        const std::string status = b.state.statusText();
        comms.request_stop();
        comms.join();
        if (status != watching) {
            bench.SkipWithError(("not watching the baton: " + status).c_str());
            return;
        }
        bench.counters["watching_cpu_pct"] = watchingCpu / 10 * 100;
    }
}
BENCHMARK(PtyCommsThreadCpu)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
