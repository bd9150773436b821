// DoRaw, pre-processing and the text and PDF reports included, on the largest upload a baton can
// hold: 8 memory chips of 4,099 records (32,792 clockings) over 256 sites of 255 ids each, every
// clocking matching one site; and on a quarter and a sixteenth of it. Each size runs once with
// the site index and once with the slot-by-slot scan of every block. "peak_rss_mb" is the
// process's peak resident memory so far.
#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/SiteList.h"
#include "core/SiteSetup.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "pdf/pdfprint.h"
#include "processing/DoRaw.h"
#include "processing/PdfprintReport.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <sys/resource.h>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

constexpr int kSites = 256;
constexpr int kIdsPerSite = 255;
constexpr int kLargestUpload = 8 * 4099;
constexpr int kRound = 128;

std::string idOf(int site, int slot) {
    char id[8];
    std::snprintf(id, sizeof id, "%02X%04X", site, slot);
    return id;
}

class Ignore : public UnknownCheckpointChooser {
public:
    void choose(UnknownCheckpointPlacement& placement) override { placement.ignore(); }
};

// A program directory with the sites; each run gets a fresh upload and empty site directories.
class Installation {
public:
    Installation() {
        for (int s = 0; s < kSites; ++s) {
            char name[16];
            std::snprintf(name, sizeof name, "Site%03d", s);
            Lines list = {std::string("//Checkpoint list for ") + name, ""};
            for (int i = 0; i < kIdsPerSite; ++i)
                list.push_back(idOf(s, i) + " = Checkpoint " + std::to_string(i));
            list.insert(list.end(), {"", "//End of File"});
            fs::create_directories(dir_ / name / "Raw");
            replaceFileLines(dir_ / name / "checkpt.lst", list);
        }
        context_.messages.SetDefaultMessages();
        print_.PdfSetMessages(context_.messages.range(1, pdf::PdfPrint::kMessageCount));
        context_.sites.reset(BuildSiteList(dir_.path()));
        LoadSiteIndex(context_);
    }

    // Clockings one minute apart from 1 January, in rounds of 128 at one site after another, so
    // that all 256 sites receive the largest upload; each round spans one or two dates.
    void prepare(int clockings) {
        for (const auto& site : context_.sites.names()) {
            const fs::path siteDir = dir_ / site;
            for (const auto& entry : fs::directory_iterator(siteDir)) {
                if (entry.is_regular_file() && entry.path().filename() != "checkpt.lst")
                    fs::remove(entry.path());
            }
            fs::remove_all(siteDir / "Raw");
            fs::create_directory(siteDir / "Raw");
        }
        std::string bytes = "Id : BENCH1\r\n";
        LocalDateTime t{2024, 1, 1, 0, 0, 0, 0};
        for (int k = 0; k < clockings; ++k) {
            char line[32];
            std::snprintf(line, sizeof line, "000000%s%02d%02d%02d%02d%02d%d\r\n",
                          idOf((k / kRound) % kSites,
                               (k % kRound + k / (kRound * kSites) * 127) % kIdsPerSite)
                              .c_str(),
                          t.year % 100, t.month, t.day, t.hour, t.minute, (k % 4099) % 100);
            bytes += line;
            t = addSeconds(t, 60);
        }
        replaceFile(dir_ / "Raw.txt", bytes);
    }

    ProcessResult run(SiteMatching matching) {
        ProcessingServices services{context_, state_, ignore_, pdf_, matching};
        return DoRaw(services);
    }

private:
    testing::TempDir dir_;
    testing::FakeDesktop desk_;
    ProgramContext context_{dir_.path(), desk_.desktop, "1"};
    MainState state_;
    pdf::PdfPrint print_{desk_.clock, desk_.locale};
    PdfprintReport pdf_{print_};
    Ignore ignore_;
};

Installation& installation() {
    static Installation shared;
    return shared;
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void runDoRaw(benchmark::State& state, SiteMatching matching) {
    Installation& install = installation();
    const int clockings = static_cast<int>(state.range(0));
    std::size_t reports = 0;
    for (auto _ : state) {
        state.PauseTiming();
        install.prepare(clockings);
        state.ResumeTiming();
        reports = install.run(matching).reports.size();
    }
    state.counters["clockings"] = clockings;
    state.counters["reports"] = static_cast<double>(reports);
    state.counters["peak_rss_mb"] = peakResidentMegabytes();
}

void BM_DoRawIndexed(benchmark::State& state) {
    runDoRaw(state, SiteMatching::Indexed);
}
void BM_DoRawSlotScan(benchmark::State& state) {
    runDoRaw(state, SiteMatching::SlotScan);
}

BENCHMARK(BM_DoRawIndexed)
    ->Arg(kLargestUpload / 16)
    ->Arg(kLargestUpload / 4)
    ->Arg(kLargestUpload)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DoRawSlotScan)
    ->Arg(kLargestUpload / 16)
    ->Arg(kLargestUpload / 4)
    ->Arg(kLargestUpload)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace kestrova

BENCHMARK_MAIN();
