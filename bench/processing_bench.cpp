// DoRaw, pre-processing and the text and PDF reports included, on the largest upload a baton can
// hold: 8 memory chips of 4,099 records (32,792 clockings) over 256 sites of 255 ids each, every
// clocking matching one site; and on a quarter and a sixteenth of it. Each size runs once with
// the site index and once with the slot-by-slot scan of every block, on a fresh program
// directory. The largest upload also runs on an aged one: five years of daily uploads, that is
// a report and its PDF per day in every site directory, a day file per day in every "Raw"
// directory and sixty monthly admin logs, so that lookups which read whole directories show.
// Compare the medians: aged against fresh, indexed against the slot scan. "peak_rss_mb" is the
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
#include <fcntl.h>
#include <set>
#include <sys/resource.h>
#include <unistd.h>

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

// Opens nothing and remembers only how often it was asked, so that memory stays flat however
// many runs there are.
class CountingDocuments : public DocumentOpener {
public:
    void openDocument(const fs::path&) override { ++opened; }
    std::string programFor(const std::string&) override { return "viewer"; }
    std::size_t opened = 0;
};

// An empty file: only the names of the history matter to the lookups.
void touch(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + file.string());
    ::close(fd);
}

constexpr int kHistoryYears = 5;

// A program directory with the sites, fresh or aged by five years of daily uploads; each run
// gets a fresh upload and takes away what the run before it wrote.
class Installation {
public:
    explicit Installation(bool aged) {
        for (int s = 0; s < kSites; ++s) {
            char name[16];
            std::snprintf(name, sizeof name, "Site%03d", s);
            Lines list = {std::string("//Checkpoint list for ") + name, ""};
            for (int i = 0; i < kIdsPerSite; ++i)
                list.push_back(idOf(s, i) + " = Checkpoint " + std::to_string(i));
            list.insert(list.end(), {"", "//End of File"});
            fs::create_directories(dir_ / name / "Raw");
            replaceFileLines(dir_ / name / "checkpt.lst", list);
            if (aged)
                addHistory(dir_ / name);
        }
        if (aged) {
            for (int month = 0; month < kHistoryYears * 12; ++month) {
                char log[16];
                std::snprintf(log, sizeof log, "LG%04d%02d.txt", 2019 + month / 12, 1 + month % 12);
                touch(dir_ / log);
            }
        }
        context_.messages.SetDefaultMessages();
        print_.PdfSetMessages(context_.messages.range(1, pdf::PdfPrint::kMessageCount));
        context_.sites.reset(BuildSiteList(dir_.path()));
        LoadSiteIndex(context_);
    }

    // Clockings one minute apart from 1 January, in rounds of 128 at one site after another, so
    // that all 256 sites receive the largest upload; each round spans one or two dates.
    void prepare(int clockings) {
        const std::string stamp = reportStamp(desk_.clock.time);
        for (const auto& site : context_.sites.names()) {
            const fs::path siteDir = dir_ / site;
            fs::remove(siteDir / (stamp + ".txt"));
            fs::remove(siteDir / (stamp + ".pdf"));
            for (const auto& date : uploadDates_)
                fs::remove(siteDir / "Raw" / (date + ".txt"));
        }
        fs::remove(dir_ / "LG202403.txt");
        uploadDates_.clear();
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
            uploadDates_.insert(std::string(line + 12, 6));
            t = addSeconds(t, 60);
        }
        replaceFile(dir_ / "Raw.txt", bytes);
    }

    ProcessResult run(SiteMatching matching) {
        ProcessingServices services{context_, state_, ignore_, pdf_, matching};
        return DoRaw(services);
    }

private:
    // A report and its PDF for every day of five years (at another hour each year, as uploads
    // come), and the day file of every day.
    static void addHistory(const fs::path& siteDir) {
        LocalDateTime day{2024 - kHistoryYears, 1, 1, 0, 0, 0, 0};
        for (int d = 0; d < kHistoryYears * 365; ++d) {
            char report[16];
            std::snprintf(report, sizeof report, "%02d%02d%02d%02d", day.month, day.day,
                          6 + day.year % kHistoryYears, d % 60);
            touch(siteDir / (std::string(report) + ".txt"));
            touch(siteDir / (std::string(report) + ".pdf"));
            char dayFile[16];
            std::snprintf(dayFile, sizeof dayFile, "%02d%02d%02d.txt", day.year % 100, day.month,
                          day.day);
            touch(siteDir / "Raw" / dayFile);
            day = addSeconds(day, 24 * 60 * 60);
        }
    }

    testing::TempDir dir_;
    testing::FakeDesktop desk_;
    CountingDocuments documents_;
    Desktop desktop_{desk_.dialogs, desk_.events, desk_.busy,   documents_,
                     desk_.beeper,  desk_.clock,  desk_.locale, desk_.trash};
    ProgramContext context_{dir_.path(), desktop_, "1"};
    std::set<std::string> uploadDates_;
    MainState state_;
    pdf::PdfPrint print_{desk_.clock, desk_.locale};
    PdfprintReport pdf_{print_};
    Ignore ignore_;
};

Installation& installation(bool aged) {
    static Installation fresh(false);
    if (!aged)
        return fresh;
    static Installation old(true);
    return old;
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void runDoRaw(benchmark::State& state, SiteMatching matching, bool aged) {
    Installation& install = installation(aged);
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
    runDoRaw(state, SiteMatching::Indexed, false);
}
void BM_DoRawSlotScan(benchmark::State& state) {
    runDoRaw(state, SiteMatching::SlotScan, false);
}
void BM_DoRawIndexedAged(benchmark::State& state) {
    runDoRaw(state, SiteMatching::Indexed, true);
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
BENCHMARK(BM_DoRawIndexedAged)->Arg(kLargestUpload)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace kestrova

BENCHMARK_MAIN();
