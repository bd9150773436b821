// Report requests over a year of one site's day files: 366 day files of 500 clockings each
// over 255 checkpoints, requested through the Reports window's model as "Create/Open" makes
// them (advanced layout, sorted by checkpoint, PDF on).
//  - BM_ReadDayFiles: merely reading every day file of the range once, the floor;
//  - BM_ClockingList: the sorted clocking list with its text report and PDF, over a month
//    (31 days) and over the year;
//  - BM_NightOverview: the 31-night overview chart, drawn as PDF.
// Each benchmark reports the process's peak resident memory (run one filter per process to
// compare spans: `--benchmark_filter=ClockingList/31` then `/366`).
#include "bench/BenchProgram.h"
#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/SiteList.h"
#include "core/SiteSetup.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "pdf/pdfprint.h"
#include "processing/PdfprintReport.h"
#include "reports/DayFileReading.h"
#include "reports/PdfOverviewChart.h"
#include "reports/ReportsWindowModel.h"
#include "reports/RequestChooser.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <sys/resource.h>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

using namespace bench;

std::string yymmdd(const LocalDateTime& day) {
    char date[16];
    std::snprintf(date, sizeof date, "%02d%02d%02d", day.year % 100, day.month, day.day);
    return date;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

class YearOfDayFiles : bench::BenchProgram {
public:
    YearOfDayFiles() {
        std::string list = "//Checkpoint list for " + kSite + "\r\n\r\n";
        for (int k = 0; k < kCheckpoints; ++k)
            list += bench::checkpointId(k) + " = Checkpoint " + std::to_string(k) + "\r\n";
        list += "\r\n//End of File\r\n";
        fs::create_directories(dir / kSite / "Raw");
        testing::writeFile(dir / kSite / "checkpt.lst", list);
        int next = 0;
        for (int d = 0; d < kDays; ++d) {
            const LocalDateTime day = addDays(first(), d);
            const std::string date = yymmdd(day);
            Lines lines;
            // Clockings spread over the whole day, each checkpoint in turn.
            for (int k = 0; k < kClockingsPerDay; ++k) {
                const int minute = k * 1440 / kClockingsPerDay;
                char time[8];
                std::snprintf(time, sizeof time, "%02d%02d", minute / 60, minute % 60);
                lines.push_back("000000" + bench::checkpointId(next++ % kCheckpoints) + date +
                                time);
            }
            replaceFileLines(dir / kSite / "Raw" / (date + ".txt"), lines);
        }
        context.messages.SetDefaultMessages();
        context.settings.update([](Settings& s) {
            s.secureReports = true;
            s.openReportAfterProcessing = false;
        });
        print.PdfSetMessages(context.messages.range(1, pdf::PdfPrint::kMessageCount));
        context.sites.reset(BuildSiteList(dir.path()));
        LoadSiteIndex(context);
    }

    static LocalDateTime first() { return calendarDay(2024, 1, 1); }

    // Every day file of the first `days` days read once, as lines.
    std::size_t readDayFiles(int days) const {
        std::size_t lines = 0;
        for (int d = 0; d < days; ++d)
            lines += readLines(dir / kSite / "Raw" / (yymmdd(addDays(first(), d)) + ".txt")).size();
        return lines;
    }

    // "Create/Open" of the Reports window over the first `days` days: a clocking list from
    // 00h00 of the first day to 23h59 of the last; a night overview of the nights ending on
    // the second to the last day.
    // Returns the size of the files written.
    std::size_t request(ReportKind kind, int days, Shift shift = Shift::Night) {
        ReportsWindowModel model(context, state);
        model.FormShow();
        model.siteChosen(0);
        model.FormActivate();
        model.kindChosen(kind);
        if (!model.selection().advanced)
            model.advancedToggled();
        if (kind == ReportKind::Overview)
            model.shiftChosen(shift);
        model.datesChosen(first(), addDays(first(), days - 1));
        if (kind == ReportKind::ClockingList) {
            model.timeEdited(false, "00h00");
            model.timeEdited(true, "23h59");
        }
        ProcessingServices services{context, state, ignore, pdf};
        if (model.createOpen({}, services, chart) != DispatchOutcome::Reported)
            throw std::runtime_error("nothing reported");
        std::size_t bytes = 0;
        for (const auto& file : model.written())
            bytes += fs::file_size(file);
        return bytes;
    }

private:
    PdfOverviewChart chart{print};
};

YearOfDayFiles& year() {
    static YearOfDayFiles shared;
    return shared;
}

void BM_ReadDayFiles(benchmark::State& state) {
    const int days = static_cast<int>(state.range(0));
    std::size_t lines = 0;
    for (auto _ : state)
        lines = year().readDayFiles(days);
    state.counters["clockings"] = static_cast<double>(lines);
    state.counters["peak_MB"] = peakMegabytes();
}

void BM_ClockingList(benchmark::State& state) {
    const int days = static_cast<int>(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = year().request(ReportKind::ClockingList, days);
    state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["peak_MB"] = peakMegabytes();
}

void BM_NightOverview(benchmark::State& state) {
    const int nights = static_cast<int>(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = year().request(ReportKind::Overview, nights + 1, Shift::Night);
    state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["peak_MB"] = peakMegabytes();
}

BENCHMARK(BM_ReadDayFiles)->Arg(31)->Arg(kDays)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ClockingList)->Arg(31)->Arg(kDays)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NightOverview)->Arg(31)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace kestrova

BENCHMARK_MAIN();
