// Every byte of a four-week exception report, pinned by a digest per file: the text, the PDF
// of a dozen pages (continuation pages with their banner and repeated heading band, shaded rows,
// a Windows-1252 location name) and the CSV. Changes made for speed must leave all three as
// they are; a change of the output itself updates the digests here, on purpose and visibly.
#include "core/CheckpointList.h"
#include "core/testing/Digest.h"
#include "core/testing/FakeDesktop.h"
#include "pdf/pdfprint.h"
#include "reports/ExceptionFiles.h"
#include "reports/tests/ExceptionFixture.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <map>

namespace kestrova {
namespace {

using testing::digestOf;
using testing::ExceptionSiteDir;

// Four weeks from Monday 4 March 2024 of the sample schedule, the twelve checkpoints clocked in
// turn every seven minutes through each shift, so that most checkpoints miss points; the
// second Tuesday is not walked, the third Saturday only once, and the report is made during
// the last Wednesday night's shift, which is running.
ExceptionReportData fourWeeks(ExceptionSiteDir& dir) {
    dir.addSite("North Gate", 12);
    std::vector<Checkpoint> list;
    for (int k = 1; k <= 12; ++k)
        list.push_back(
            {testing::pointId(k), '=',
             k == 3 ? std::string("Caf\xE9 (rear), \"B\"") : "Point " + std::to_string(k)});
    SaveCheckpointList(dir.programDir(), "North Gate", list, testing::sampleSchedule());
    std::vector<std::string> clockings;
    int next = 0;
    for (int d = 0; d < 29; ++d) {
        const auto day = makeDay(2024, 3, 4) + std::chrono::days{d};
        const int weekday = d % 7; // 0 = Monday
        if (d == 8)
            continue;
        const bool night = weekday == 2;
        const int from = night ? 20 * 60 : (weekday == 5 ? 10 * 60 : 9 * 60);
        const int to = night ? 26 * 60 : (weekday == 5 ? 11 * 60 : 12 * 60);
        for (int minute = from; minute < to; minute += (d == 19 ? 600 : 7)) {
            const auto at = day + std::chrono::days{minute / (24 * 60)};
            const std::chrono::year_month_day date{at};
            char text[32];
            std::snprintf(text, sizeof text, "%02d%02u%02u %02d%02d %d",
                          static_cast<int>(date.year()) % 100, static_cast<unsigned>(date.month()),
                          static_cast<unsigned>(date.day()), (minute / 60) % 24, minute % 60,
                          next++ % 12 + 1);
            clockings.push_back(text);
        }
    }
    dir.addClockings("North Gate", clockings);
    return dir.load("North Gate", "240304", "240401", "240327 2300");
}

TEST(ExceptionDigest, EveryFileOfAFourWeekReportIsAsBefore) {
    ExceptionSiteDir dir;
    const ExceptionReportData data = fourWeeks(dir);
    ASSERT_EQ(data.outcome, ExceptionOutcome::Checked);
    ASSERT_GT(data.findings.exceptions.size(), 400u);

    testing::FakeDesktop desktop;
    const MessageTable messages = testing::defaultMessages();
    Settings settings;
    settings.reportHeader = "Acme Security";
    pdf::PdfPrint print(desktop.clock, desktop.locale);
    print.PdfSetMessages(messages.range(1, pdf::PdfPrint::kMessageCount));
    const auto files = writeExceptionReport(dir.programDir(), data, messages, settings, print,
                                            {std::nullopt, true, std::nullopt});

    std::map<std::string, std::string> actual;
    for (const auto& file : files)
        actual[file.filename().string()] = digestOf(testing::readFile(file));
    const std::map<std::string, std::string> expected = {
        {"Exceptions.csv", "14c1511ed512a1be"},
        {"Exceptions.pdf", "c19fc98f12b6045d"},
        {"Exceptions.txt", "7b0dc1865f8ebbb2"},
    };
    EXPECT_EQ(actual, expected);
}

} // namespace
} // namespace kestrova
