// The exception report as the user gets it: the text file line by line, the report of a site
// without a usable schedule, the PDF read by real PDF clients, and the CSV read back by
// Python's csv module.
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "pdf/pdfprint.h"
#include "reports/ExceptionFiles.h"
#include "reports/ExceptionLayout.h"
#include "reports/tests/ExceptionFixture.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using testing::ExceptionSiteDir;

std::string quote(const fs::path& p) {
    return "'" + p.string() + "'";
}

// Exit status and output (stdout and stderr) of a shell command.
int run(const std::string& command, std::string& output) {
    output.clear();
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), n);
    return pclose(pipe);
}

class ExceptionOutput : public ::testing::Test {
protected:
    ExceptionOutput() { settings.reportHeader = "Acme Security"; }

    std::vector<fs::path> write(const ExceptionReportData& data, bool csv = true) {
        pdf::PdfPrint print(desktop.clock, desktop.locale);
        print.PdfSetMessages(messages.range(1, pdf::PdfPrint::kMessageCount));
        return writeExceptionReport(dir.programDir(), data, messages, settings, print,
                                    {std::nullopt, csv, std::nullopt});
    }

    ExceptionSiteDir dir;
    testing::FakeDesktop desktop;
    MessageTable messages = testing::defaultMessages();
    Settings settings;
};

TEST_F(ExceptionOutput, TextReportLineByLine) {
    dir.addSite("North Gate", 2);
    dir.addClockings("North Gate",
                     {"240304 0900 1", "240304 0900 2", "240304 0930 1", "240304 1000 2"});
    dir.addEmptyDay("North Gate", "240305");
    const auto files = write(dir.load("North Gate", "240304", "240305", "240305 1000"));
    ASSERT_EQ(files.size(), 3u);
    const Lines expected = {
        "Acme Security",
        "",
        "Exception report by point of data from 2024/03/04 to 2024/03/05",
        "Site Settings for North Gate",
        "",
        "Round time : 015   Rest time : 015",
        "",
        ":           : Mon : Tue : Wed : Thu : Fri : Sat : Sun :",
        ":Start Time :09h00:09h00:20h00:09h00:09h00:10h00:  -  :",
        ":Finish Time:12h00:12h00:02h00:12h00:12h00:11h00:  -  :",
        "",
        "  /////////////////////////",
        " // Exceptions occuring //",
        "/////////////////////////",
        "",
        " Date      Time   Type           Interval  Point",
        "2024/03/04 09:00  Failed Patrol  03h00     4/12 (33%)",
        "2024/03/04 09:00  Missed Point   01h00     (AAAAA2) Point 2",
        "2024/03/04 09:30  Missed Point   02h30     (AAAAA1) Point 1",
        "2024/03/04 10:00  Missed Point   02h00     (AAAAA2) Point 2",
        "",
        "Shift                                  Made  Required   Share",
        "2024/03/04 09:00 - 2024/03/04 12:00       4        12     33%",
        "2024/03/05 09:00 - 2024/03/05 12:00       -        12 running",
        "",
        "Legend",
        "Shift not done   No clockings were found during this shift",
        "Failed Patrol    Less than half the required clocking were clocked",
        "Missed Point     The times between the clocking of this point are",
        "                 longer than the Round time and Rest time",
        "",
        "End of File",
        "Report compiled by Kestrova uploader Ver  5.28l",
        settings.aboutWeb,
    };
    EXPECT_EQ(readLines(files[0]), expected);
    EXPECT_EQ(files[0], dir.programDir() / "Exceptions.txt");
}

TEST_F(ExceptionOutput, NoExceptionsFound) {
    dir.addSite("North Gate", 1);
    dir.addClockings("North Gate", {"240309 1000 1", "240309 1030 1"});
    const Lines text = readLines(write(dir.load("North Gate", "240309", "240309"), false)[0]);
    EXPECT_NE(std::find(text.begin(), text.end(), "      !!!! No Exceptions Found !!!!"),
              text.end());
    EXPECT_EQ(
        std::find(text.begin(), text.end(), " Date      Time   Type           Interval  Point"),
        text.end());
}

// A site without a usable schedule: the report says so in one line and lists nothing; a range
// without day files makes no report at all.
TEST_F(ExceptionOutput, SitesWithoutASchedule) {
    ScheduleValues blank;
    blank.fill("0");
    ScheduleValues unreadable = testing::sampleSchedule();
    unreadable[kRoundTime] = "1x";
    dir.addSite("Blank", 1, blank);
    dir.addSite("Broken", 1, unreadable);
    fs::create_directories(dir.programDir() / "No List" / "Raw");
    dir.addSite("Common", 1);
    dir.addSite("Quiet", 1);
    for (const std::string site : {"Blank", "Broken", "No List", "Common"})
        dir.addClockings(site, {"240304 1000 AAAAA1"});
    const std::vector<std::tuple<std::string, ExceptionOutcome, std::string>> cases = {
        {"Blank", ExceptionOutcome::NoSchedule,
         "No failed-patrol schedule is set for this site: no exceptions are listed."},
        {"No List", ExceptionOutcome::NoSchedule,
         "No failed-patrol schedule is set for this site: no exceptions are listed."},
        {"Broken", ExceptionOutcome::UnreadableSchedule,
         "The failed-patrol schedule of this site cannot be read: no exceptions are listed."},
        {"Common", ExceptionOutcome::CommonSite,
         "The common site's clockings are reported with the sites they belong to: no "
         "exceptions are listed."},
    };
    for (const auto& [site, outcome, line] : cases) {
        const ExceptionReportData data = dir.load(site, "240304", "240304");
        EXPECT_EQ(data.outcome, outcome) << site;
        const std::vector<ReportLine> body = layoutExceptionReport(data, messages);
        ASSERT_EQ(body.size(), 4u) << site;
        EXPECT_EQ(body[3].text, line) << site;
        EXPECT_TRUE(data.findings.exceptions.empty()) << site;
    }
    EXPECT_EQ(dir.load("Quiet", "240304", "240310").outcome, ExceptionOutcome::NoDayFiles);
}

TEST_F(ExceptionOutput, FilesInAnOutputFolderCarryTheSiteAndDates) {
    const ExceptionRequest oneDay{"North Gate", testing::dayFromText("240304"),
                                  testing::dayFromText("240304"), 0};
    ExceptionRequest twoDays = oneDay;
    twoDays.last = testing::dayFromText("240305");
    EXPECT_EQ(exceptionReportPath("/prog", fs::path("/out"), oneDay, ".pdf"),
              fs::path("/out/North Gate_exceptions_2024-03-04.pdf"));
    EXPECT_EQ(exceptionReportPath("/prog", fs::path("/out"), twoDays, ".csv"),
              fs::path("/out/North Gate_exceptions_2024-03-04_2024-03-05.csv"));
    EXPECT_EQ(exceptionReportPath("/prog", std::nullopt, twoDays, ".txt"),
              fs::path("/prog/Exceptions.txt"));
}

TEST_F(ExceptionOutput, PdfReadByRealClients) {
    if (run("command -v qpdf && command -v pdftotext", *std::make_unique<std::string>()) != 0)
        GTEST_SKIP() << "qpdf or pdftotext not installed";
    dir.addSite("North Gate", 3);
    // A month of Mondays to Fridays without a clocking: enough rows for a second page.
    std::vector<std::string> clockings;
    dir.addEmptyDay("North Gate", "240301");
    for (int day = 1; day <= 31; ++day)
        clockings.push_back("2403" + std::string(day < 10 ? "0" : "") + std::to_string(day) +
                            " 0900 1");
    dir.addClockings("North Gate", clockings);
    const auto files = write(dir.load("North Gate", "240301", "240331"));
    const fs::path pdf = files[1];
    if (const char* keep = std::getenv("KEEP_PDF"))
        fs::copy_file(pdf, keep, fs::copy_options::overwrite_existing);
    std::string output;
    EXPECT_EQ(run("qpdf --check " + quote(pdf), output), 0) << output;
    EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
    ASSERT_EQ(run("pdftotext -layout " + quote(pdf) + " -", output), 0) << output;
    for (const std::string text :
         {"Acme Security", "North Gate", "Exception report by point of data from 2024/03/01",
          "Missed Point", "(AAAAA2) Point 2", "Legend"})
        EXPECT_NE(output.find(text), std::string::npos) << text << "\n" << output;
    // Several pages, and the heading of the rows stands on the second one too.
    const auto pageBreak = output.find('\f');
    ASSERT_LT(pageBreak, output.size() - 1) << output;
    EXPECT_NE(output.find("Interval", pageBreak), std::string::npos) << output;
}

TEST_F(ExceptionOutput, CsvReadBackByPython) {
    if (run("python3 -c 'import csv'", *std::make_unique<std::string>()) != 0)
        GTEST_SKIP() << "python3 not installed";
    dir.addSite("North Gate", 0);
    std::vector<Checkpoint> list = {{"AAAAA1", '=', "Gate, \"east\" caf\xE9"},
                                    {"AAAAA2", '=', "-- Back --"}};
    SaveCheckpointList(dir.programDir(), "North Gate", list, testing::sampleSchedule());
    dir.addClockings("North Gate", {"240304 0900 1"});
    const auto files = write(dir.load("North Gate", "240304", "240304"));
    ASSERT_EQ(files.size(), 3u);
    const std::string script =
        "import csv,sys\n"
        "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8-sig',newline='')))\n"
        "for r in rows: print('|'.join(r))\n";
    testing::writeFile(dir.programDir() / "read.py", script);
    std::string output;
    ASSERT_EQ(run("python3 " + quote(dir.programDir() / "read.py") + " " + quote(files[2]), output),
              0)
        << output;
    EXPECT_EQ(output,
              "Date|Time|Site|Type|Interval|Checkpoint Id|Location|Shift Share\n"
              "2024-03-04|09:00:00|North Gate|Failed Patrol|03:00:00|||8\n"
              "2024-03-04|09:00:00|North Gate|Missed Point|03:00:00|AAAAA1|"
              "Gate, \"east\" caf\xC3\xA9|8\n"
              "2024-03-04|09:00:00|North Gate|Missed Point|03:00:00|AAAAA2|'-- Back --|8\n");
}

} // namespace
} // namespace kestrova
