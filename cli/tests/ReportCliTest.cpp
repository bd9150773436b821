// kestrova-cli report and log on small program directories, read back by real clients: qpdf
// --check and pdftotext on a clocking list and a two-night overview, Python's csv module on the
// log export.
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

} // namespace
} // namespace kestrova
