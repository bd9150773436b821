// The exception report over a year of one site's day files: 366 days of 500 clockings each over
// 255 checkpoints, the site patrolled at night (18h00-06h00, round 45 + rest 15 minutes). Each
// night's 500 clockings walk the checkpoints in turn, so every night fails its patrol and most
// checkpoints miss points: several hundred exceptions a night.
//  - BM_ExceptionFindings: reading the list and the day files and applying the rules;
//  - BM_ExceptionReportFiles: the same, then the text file and the PDF written;
//  - BM_ClockingListBuilder: for comparison, the report builder's combined clocking list (text
//    and PDF) over the same year's clockings, as the Reports window hands them over.
#include "bench/BenchProgram.h"
#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/SiteList.h"
#include "core/SiteSetup.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "core/testing/Schedules.h"
#include "pdf/pdfprint.h"
#include "processing/PdfprintReport.h"
#include "processing/ProcessUpload.h"
#include "reports/ExceptionFiles.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

using namespace bench;

class YearOfDayFiles : bench::BenchProgram {
public:
    YearOfDayFiles() {
        fs::create_directories(dir / kSite / "Raw");
        std::vector<Checkpoint> list;
        for (int k = 0; k < kCheckpoints; ++k)
            list.push_back({bench::checkpointId(k), '=', "Checkpoint " + std::to_string(k)});
        SaveCheckpointList(dir.path(), kSite, list,
                           testing::everyDaySchedule("045", "015", "18h00", "06h00"));
        std::string request = "Id : From 00:00:00 01/01/2024 to 23:59:00 31/12/2024\r\n";
        int next = 0;
        for (CalendarDay day = first(); day <= last(); day += std::chrono::days{1}) {
            const std::chrono::year_month_day ymd{day};
            char date[16];
            std::snprintf(date, sizeof date, "%02d%02u%02u", static_cast<int>(ymd.year()) % 100,
                          static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
            Lines lines;
            // 250 clockings from 00:00 to 06:00 (the end of last night's shift) and 250 from
            // 18:00 on, each checkpoint in turn.
            for (int k = 0; k < kClockingsPerDay; ++k) {
                const int minute = k < 250 ? k * 360 / 250 : 1080 + (k - 250) * 360 / 250;
                char time[16];
                std::snprintf(time, sizeof time, "%02d%02d", minute / 60, minute % 60);
                lines.push_back("000000" + bench::checkpointId(next++ % kCheckpoints) + date +
                                time);
            }
            replaceFileLines(dir / kSite / "Raw" / (std::string(date) + ".txt"), lines);
            request += joinLines(lines);
        }
        request += "Done\r\n";
        replaceFile(dir / "Request.txt", request);
        context.messages.SetDefaultMessages();
        context.settings.update([](Settings& s) { s.secureReports = true; });
        print.PdfSetMessages(context.messages.range(1, pdf::PdfPrint::kMessageCount));
        context.sites.reset(BuildSiteList(dir.path()));
        LoadSiteIndex(context);
    }

    static CalendarDay first() { return makeDay(2024, 1, 1); }
    static CalendarDay last() { return makeDay(2024, 12, 31); }

    ExceptionReportData findings() const {
        return loadExceptionReport(dir.path(),
                                   {kSite, first(), last(), minutesAt(makeDay(2025, 1, 2), 0)});
    }

    std::size_t writeFiles(const ExceptionReportData& data) {
        return writeExceptionReport(dir.path(), data, context.messages, context.settings.get(),
                                    print, {})
            .size();
    }

    // The builder rewrites the request's Done marker: each run gets a fresh copy.
    std::size_t clockingList() {
        fs::copy_file(dir / "Request.txt", dir / "Raw.txt", fs::copy_options::overwrite_existing);
        ProcessingServices services{context, state, ignore, pdf};
        return ProcessUpload(services, dir / "Raw.txt").reports.size();
    }
};

YearOfDayFiles& year() {
    static YearOfDayFiles shared;
    return shared;
}

void BM_ExceptionFindings(benchmark::State& state) {
    std::size_t exceptions = 0;
    for (auto _ : state)
        exceptions = year().findings().findings.exceptions.size();
    state.counters["exceptions"] = static_cast<double>(exceptions);
}

void BM_ExceptionReportFiles(benchmark::State& state) {
    std::size_t files = 0;
    for (auto _ : state)
        files = year().writeFiles(year().findings());
    state.counters["files"] = static_cast<double>(files);
}

void BM_ClockingListBuilder(benchmark::State& state) {
    std::size_t files = 0;
    for (auto _ : state)
        files = year().clockingList();
    state.counters["files"] = static_cast<double>(files);
}

BENCHMARK(BM_ExceptionFindings)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExceptionReportFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ClockingListBuilder)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace kestrova

BENCHMARK_MAIN();
