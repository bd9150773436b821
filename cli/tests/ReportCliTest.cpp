// kestrova-cli report and log on small program directories, read back by real clients: qpdf
// --check and pdftotext on a clocking list, a two-night overview and an exception report,
// Python's csv module on the log export and the reports' CSV.
#include "core/testing/FakeDesktop.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>

namespace kestrova {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

struct Result {
    int status;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (const char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Result run(const TempDir& dir, const std::string& program, const std::vector<std::string>& args) {
    std::string command = quoted(program);
    for (const auto& arg : args)
        command += " " + quoted(arg);
    command += " >" + quoted((dir / ".out").string()) + " 2>" + quoted((dir / ".err").string());
    const int raw = std::system(command.c_str());
    return {WEXITSTATUS(raw), readFile(dir / ".out"), readFile(dir / ".err")};
}

bool onPath(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

class ReportCli : public ::testing::Test {
protected:
    ReportCli() {
        std::filesystem::create_directories(dir / "Depot" / "Raw");
        writeFile(dir / "Depot" / "checkpt.lst", "//Checkpoint list for Depot\r\n\r\n"
                                                 "00A1F3 = Front gate\r\n00B2C4 = Yard\r\n"
                                                 "\r\n//End of File\r\n");
        writeFile(dir / "Depot" / "Raw" / "240309.txt",
                  "00000000A1F32403091205\r\n00000000B2C42403091830\r\n");
        writeFile(dir / "Depot" / "Raw" / "240310.txt", "00000000A1F32403100455\r\n");
        writeFile(dir / "Kestrova.ini", "SecureReports=T\r\nOpenReportAfterProcessing=F\r\n");
    }
    Result cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"-C", dir.path().string(), "--now", "2024-03-11 09:00:00"});
        return run(dir, KESTROVA_CLI, args);
    }
    std::string pdfText(const std::string& name) {
        const Result r = run(dir, "pdftotext", {(dir / name).string(), "-"});
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }
    void expectSoundPdf(const std::string& name) {
        const Result r = run(dir, "qpdf", {"--check", (dir / name).string()});
        EXPECT_EQ(r.status, 0) << r.out << r.err;
        EXPECT_NE(r.out.find("No syntax or stream encoding errors"), std::string::npos) << r.out;
    }
    // The rows of a UTF-8 CSV file as Python's csv module reads them, fields joined by "|".
    std::string csvRows(const std::filesystem::path& file) {
        if (!onPath("python3"))
            return "python3 missing";
        const Result py =
            run(dir, "python3",
                {"-c",
                 "import csv,sys\n"
                 "for row in csv.reader(open(sys.argv[1], newline='', encoding='utf-8-sig')):\n"
                 "    print('|'.join(row))",
                 file.string()});
        EXPECT_EQ(py.status, 0) << py.err;
        return py.out;
    }
    // A site whose night shift runs 20h00 to 02h00 every day, in periods of 30 + 30 minutes.
    void addNightSite() {
        std::string list = "//Checkpoint list for Night\r\n\r\n"
                           "00A1F3 = Front gate\r\n00B2C4 = Yard, north\r\n\r\n"
                           "Round Time  = 030\r\nRest Time   = 030\r\nNum Batons  = 1\r\n"
                           "FP Type     = 1\r\n";
        for (const char* day : {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"})
            list += std::string("ST ") + day + "      = 20h00\r\nFT " + day + "      = 02h00\r\n";
        std::filesystem::create_directories(dir / "Night" / "Raw");
        writeFile(dir / "Night" / "checkpt.lst", list + "\r\n//End of File\r\n");
        writeFile(dir / "Night" / "Raw" / "240309.txt",
                  "00000000A1F32403092005\r\n00000000B2C42403092010\r\n"
                  "00000000A1F32403092300\r\n");
        writeFile(dir / "Night" / "Raw" / "240310.txt", "00000000A1F32403100130\r\n");
    }
    TempDir dir;
};

TEST_F(ReportCli, ClockingListWritesTheCombinedReportAndItsPdf) {
    const Result r = cli({"report", "list", "--site", "depot", "--from", "2024-03-09 12:00", "--to",
                          "2024-03-10 12:00", "--sort"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Processed.txt\nReport.pdf\n");
    const std::string text = readFile(dir / "Processed.txt");
    EXPECT_NE(text.find("2024/03/09 12:05  (00A1F3)   Front gate\r\n"
                        "2024/03/10 04:55  (00A1F3)   Front gate\r\n"
                        "2024/03/09 18:30  (00B2C4)   Yard\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(readFile(dir / "Raw.txt").substr(0, 5), "Ids: ");
    if (!onPath("qpdf") || !onPath("pdftotext"))
        GTEST_SKIP() << "qpdf or pdftotext missing";
    expectSoundPdf("Report.pdf");
    const std::string shown = pdfText("Report.pdf");
    for (const char* expected : {"Depot", "Front gate", "12:05", "04:55", "Yard", "18:30"})
        EXPECT_NE(shown.find(expected), std::string::npos) << expected << "\n" << shown;
}

// The PDF of a clocking list follows SecureReports, whichever kind the settings would show the
// Reports window with first: the overview that checks the PDF option is never passed through.
TEST_F(ReportCli, ClockingListWithoutSecureReportsWritesNoPdf) {
    for (const char* defaultReport : {"1", "2", "3"}) {
        writeFile(dir / "Kestrova.ini", std::string("SecureReports=F\r\nDefaultReport=") +
                                            defaultReport + "\r\nOpenReportAfterProcessing=F\r\n");
        std::filesystem::remove(dir / "Report.pdf");
        const Result r = cli({"report", "list", "--site", "Depot", "--from", "2024-03-09 12:00",
                              "--to", "2024-03-10 12:00"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "Processed.txt\n") << "DefaultReport=" << defaultReport;
        EXPECT_FALSE(std::filesystem::exists(dir / "Report.pdf"))
            << "DefaultReport=" << defaultReport;
    }
}

TEST_F(ReportCli, PointFilterAndNothingInRange) {
    Result r = cli({"report", "list", "--site", "Depot", "--from", "2024-03-09 00:00", "--to",
                    "2024-03-10 23:59", "--point", "00b2c4"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = readFile(dir / "Processed.txt");
    EXPECT_EQ(text.find("Front gate"), std::string::npos) << text;
    EXPECT_NE(text.find("(00B2C4)   Yard"), std::string::npos) << text;

    r = cli({"report", "list", "--site", "Depot", "--from", "2024-04-01 00:00", "--to",
             "2024-04-02 00:00"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("\n\rFrom "), std::string::npos) << r.err;

    r = cli({"report", "list", "--site", "Nowhere", "--from", "2024-04-01 00:00", "--to",
             "2024-04-02 00:00"});
    EXPECT_EQ(r.status, 2);
    r = cli({"report", "list", "--site", "Depot", "--from", "2024-04-31 00:00", "--to",
             "2024-05-02 00:00"});
    EXPECT_EQ(r.status, 2);
}

TEST_F(ReportCli, TwoNightOverview) {
    const Result r = cli({"report", "overview", "--site", "Depot", "--shift", "night", "--from",
                          "2024-03-08", "--to", "2024-03-10"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Report.pdf\n");
    // The night ending on 9 March holds nothing: its message on standard error.
    EXPECT_NE(r.err.find(" 12:00  "), std::string::npos) << r.err;
    if (!onPath("qpdf") || !onPath("pdftotext"))
        GTEST_SKIP() << "qpdf or pdftotext missing";
    expectSoundPdf("Report.pdf");
    const std::string shown = pdfText("Report.pdf");
    for (const char* expected : {"Depot", "Front gate", "Yard", "12:05", "18:30", "04:55"})
        EXPECT_NE(shown.find(expected), std::string::npos) << expected << "\n" << shown;
}

TEST_F(ReportCli, DownloadReportList) {
    writeFile(dir / "Depot" / "08141530.txt", "x");
    writeFile(dir / "Depot" / "stray.txt", "x");
    const Result r = cli({"report", "downloads", "--site", "Depot"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("/08/14\t15:30\t08141530.txt\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\t\tstray.txt\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("File \"stray.txt\" does not belong in the directory "), std::string::npos)
        << r.err;
}

TEST_F(ReportCli, LogMonthsEntriesAndTheCsvReadBackByPython) {
    writeFile(dir / "LG201203.txt",
              "\"2012/03/05 14:07.22\",\"Site A\",\"New Site created\"\r\n"
              "\"2012/03/06 09:00.00\",\"All\",\"Setting \"\"Header\"\", changed\"\r\n");
    Result r = cli({"log"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "March 2012\tLG201203.txt\n");
    r = cli({"log", "--month", "201203", "--csv", (dir / "out.csv").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2012/03/05 14:07.22\tSite A\tNew Site created\n"
                     "2012/03/06 09:00.00\tAll\tSetting \"Header\", changed\n");
    if (!onPath("python3"))
        GTEST_SKIP() << "python3 missing";
    const Result py =
        run(dir, "python3",
            {"-c",
             "import csv,sys\n"
             "for row in csv.reader(open(sys.argv[1], newline='', encoding='cp1252')):\n"
             "    print('|'.join(row))",
             (dir / "out.csv").string()});
    ASSERT_EQ(py.status, 0) << py.err;
    EXPECT_EQ(py.out, "Admin Report Created by Kestrova Ver5.28l\n"
                      "Date & Time|Site Affected|Action Taken\n"
                      "2012/03/05 14:07.22|Site A|New Site created\n"
                      "2012/03/06 09:00.00|All|Setting \"Header\", changed\n");
}

TEST_F(ReportCli, ExceptionReportWithItsCsv) {
    addNightSite();
    const std::string csv = (dir / "night.csv").string();
    const Result r = cli({"report", "exceptions", "--site", "night", "--from", "2024-03-09", "--to",
                          "2024-03-10", "--csv", csv});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Exceptions.txt\nExceptions.pdf\n" + csv + "\n");
    // The night of the 9th is followed past midnight into the 10th's file; the night of the
    // 10th (its file holds only the 9th's tail) was not walked.
    const std::string text = readFile(dir / "Exceptions.txt");
    for (const char* expected :
         {"Exception report by point of data from 2024/03/09 to 2024/03/10\r\n",
          "Site Settings for Night\r\n",
          "2024/03/09 20:00  Failed Patrol  06h00     4/12 (33%)\r\n",
          "2024/03/09 20:10  Missed Point   05h50     (00B2C4) Yard, north\r\n",
          "2024/03/10 20:00  Shift not done 06h00"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(csvRows(csv),
              "Date|Time|Site|Type|Interval|Checkpoint Id|Location|Shift Share\n"
              "2024-03-09|20:00:00|Night|Failed Patrol|06:00:00|||33\n"
              "2024-03-09|20:05:00|Night|Missed Point|02:55:00|00A1F3|Front gate|33\n"
              "2024-03-09|20:10:00|Night|Missed Point|05:50:00|00B2C4|Yard, north|33\n"
              "2024-03-09|23:00:00|Night|Missed Point|02:30:00|00A1F3|Front gate|33\n"
              "2024-03-10|20:00:00|Night|Shift not done|06:00:00|||0\n");
    if (!onPath("qpdf") || !onPath("pdftotext"))
        GTEST_SKIP() << "qpdf or pdftotext missing";
    expectSoundPdf("Exceptions.pdf");
    const std::string shown = pdfText("Exceptions.pdf");
    for (const char* expected :
         {"Night", "Failed Patrol", "Shift not done", "(00B2C4) Yard, north"})
        EXPECT_NE(shown.find(expected), std::string::npos) << expected << "\n" << shown;
}

TEST_F(ReportCli, ExceptionReportOfARangeWithoutDayFilesShowsMessage150) {
    addNightSite();
    std::filesystem::copy_file(KESTROVA_SOURCE_DIR "/data/English.lng", dir / "English.lng");
    const Result r = cli({"report", "exceptions", "--site", "Night", "--from", "2024-04-01", "--to",
                          "2024-04-02", "--out", (dir / "out").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "No clockings were found for the period\n\rFrom 2024/04/01 to 2024/04/02\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "Exceptions.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

TEST_F(ReportCli, ExceptionReportOfASiteWithoutScheduleSaysSoInOneLine) {
    const Result r = cli({"report", "exceptions", "--site", "Depot", "--from", "2024-03-09", "--to",
                          "2024-03-10", "--csv", (dir / "x.csv").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = readFile(dir / "Exceptions.txt");
    EXPECT_NE(text.find("Site Settings for Depot\r\n\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Exceptions occuring"), std::string::npos) << text;
    EXPECT_EQ(csvRows(dir / "x.csv"),
              "Date|Time|Site|Type|Interval|Checkpoint Id|Location|Shift Share\n");
}

// --out puts every report's files into the folder (created when missing) under names with the
// site and the range; they are the bytes the program directory's fixed names get.
TEST_F(ReportCli, OutFolderNamesTheFilesBySiteAndRange) {
    addNightSite();
    const std::filesystem::path out = dir / "daily" / "reports";
    Result r = cli({"report", "exceptions", "--site", "Night", "--from", "2024-03-09", "--to",
                    "2024-03-09", "--out", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, (out / "Night_exceptions_2024-03-09.txt").string() + "\n" +
                         (out / "Night_exceptions_2024-03-09.pdf").string() + "\n");
    EXPECT_NE(readFile(out / "Night_exceptions_2024-03-09.txt").find("Failed Patrol"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "Exceptions.txt"));

    r = cli({"report", "list", "--site", "depot", "--from", "2024-03-09 12:00", "--to",
             "2024-03-10 12:00", "--out", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto list = out / "Depot_list_2024-03-09_1200_2024-03-10_1200";
    EXPECT_EQ(r.out, list.string() + ".txt\n" + list.string() + ".pdf\n");
    EXPECT_EQ(readFile(list.string() + ".txt"), readFile(dir / "Processed.txt"));
    EXPECT_EQ(readFile(list.string() + ".pdf"), readFile(dir / "Report.pdf"));

    r = cli({"report", "overview", "--site", "Depot", "--shift", "night", "--from", "2024-03-08",
             "--to", "2024-03-10", "--out", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto overview = out / "Depot_overview_night_2024-03-08_2024-03-10.pdf";
    EXPECT_EQ(r.out, overview.string() + "\n");
    EXPECT_EQ(readFile(overview), readFile(dir / "Report.pdf"));
}

TEST_F(ReportCli, OutFolderThatCannotBeMadeIsAnErrorOfTheJob) {
    addNightSite();
    writeFile(dir / "blocked", "a file, not a folder");
    const Result r = cli({"report", "exceptions", "--site", "Night", "--from", "2024-03-09", "--to",
                          "2024-03-09", "--out", (dir / "blocked" / "reports").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("blocked"), std::string::npos) << r.err;
}

TEST_F(ReportCli, ClockingListAndOverviewAsCsv) {
    Result r = cli({"report", "list", "--site", "Depot", "--from", "2024-03-09 12:00", "--to",
                    "2024-03-10 12:00", "--sort", "--csv", (dir / "list.csv").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Processed.txt\nReport.pdf\n" + (dir / "list.csv").string() + "\n");
    // In the report's order: sorted by checkpoint.
    EXPECT_EQ(csvRows(dir / "list.csv"), "Date|Time|Site|Checkpoint Id|Location\n"
                                         "2024-03-09|12:05:00|Depot|00A1F3|Front gate\n"
                                         "2024-03-10|04:55:00|Depot|00A1F3|Front gate\n"
                                         "2024-03-09|18:30:00|Depot|00B2C4|Yard\n");

    // One page: the night from noon of the 9th to noon of the 10th, by checkpoint; the 11:00
    // clocking of the 9th belongs to the night before, which is not asked for.
    writeFile(dir / "Depot" / "Raw" / "240309.txt", "00000000A1F32403091100\r\n"
                                                    "00000000A1F32403091205\r\n"
                                                    "00000000B2C42403091830\r\n");
    r = cli({"report", "overview", "--site", "Depot", "--shift", "night", "--from", "2024-03-09",
             "--to", "2024-03-10", "--csv", (dir / "overview.csv").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Report.pdf\n" + (dir / "overview.csv").string() + "\n");
    EXPECT_EQ(csvRows(dir / "overview.csv"), "Date|Time|Site|Checkpoint Id|Location\n"
                                             "2024-03-09|12:05:00|Depot|00A1F3|Front gate\n"
                                             "2024-03-10|04:55:00|Depot|00A1F3|Front gate\n"
                                             "2024-03-09|18:30:00|Depot|00B2C4|Yard\n");
}

struct BadReportLine {
    const char* name;
    std::vector<std::string> args;
    const char* message;
};

void PrintTo(const BadReportLine& row, std::ostream* out) {
    *out << row.name;
}

class ReportCliUsage : public ReportCli, public ::testing::WithParamInterface<BadReportLine> {};

TEST_P(ReportCliUsage, PrintsTheReasonAndTheUsage) {
    const Result r = cli(GetParam().args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("report exceptions --site SITE"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "Exceptions.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    BadReportLines, ReportCliUsage,
    ::testing::Values(BadReportLine{"UnknownKind",
                                    {"report", "misses"},
                                    "list, overview, exceptions or downloads, not \"misses\""},
                      BadReportLine{
                          "NoSite",
                          {"report", "exceptions", "--from", "2024-03-09", "--to", "2024-03-10"},
                          "report exceptions: --site is required"},
                      BadReportLine{"UnknownSite",
                                    {"report", "exceptions", "--site", "Nowhere", "--from",
                                     "2024-03-09", "--to", "2024-03-10"},
                                    "no site named \"Nowhere\""},
                      BadReportLine{"DateWithTime",
                                    {"report", "exceptions", "--site", "Depot", "--from",
                                     "2024-03-09 12:00", "--to", "2024-03-10"},
                                    "\"2024-03-09 12:00\" is not \"YYYY-MM-DD\""},
                      BadReportLine{"NoSuchDay",
                                    {"report", "exceptions", "--site", "Depot", "--from",
                                     "2024-02-30", "--to", "2024-03-10"},
                                    "\"2024-02-30\" is not"},
                      BadReportLine{"ToBeforeFrom",
                                    {"report", "exceptions", "--site", "Depot", "--from",
                                     "2024-03-10", "--to", "2024-03-09"},
                                    "report exceptions: --to is before --from"},
                      BadReportLine{"OutWithoutFolder",
                                    {"report", "exceptions", "--site", "Depot", "--from",
                                     "2024-03-09", "--to", "2024-03-10", "--out"},
                                    "--out needs a value"},
                      BadReportLine{"CsvWithoutFile",
                                    {"report", "list", "--site", "Depot", "--from",
                                     "2024-03-09 12:00", "--to", "2024-03-10 12:00", "--csv"},
                                    "--csv needs a value"},
                      BadReportLine{"SortIsNoExceptionOption",
                                    {"report", "exceptions", "--site", "Depot", "--from",
                                     "2024-03-09", "--to", "2024-03-10", "--sort"},
                                    "unexpected argument --sort"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrova
