// The download report list and its opening; comma text; the log viewer's months, entries and
// export.
#include "ReportsFixture.h"
#include "core/Errors.h"
#include "reports/AdminLogViewer.h"
#include "reports/CommaText.h"
#include "reports/DownloadReports.h"

#include <chrono>

namespace kestrova::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

void modifiedIn(const std::filesystem::path& file, int yearNumber) {
    using namespace std::chrono;
    const sys_seconds when = sys_days{year{yearNumber} / 8 / 14} + hours{15} + minutes{31};
    std::filesystem::last_write_time(file, file_clock::from_sys(when));
}

class DownloadListTest : public ReportsTest {
protected:
    DownloadListTest() {
        site("Depot", {"00A1F3 = Gate"});
        loadSites();
    }
    void report(const std::string& name, int yearNumber = 2013) {
        writeFile(dir / "Depot" / name, "x");
        modifiedIn(dir / "Depot" / name, yearNumber);
    }
};

TEST_F(DownloadListTest, RowsFromModificationYearAndNameSortedByDate) {
    report("08141530.txt");
    report("01020304.txt", 2014);
    report("08141530.pdf");
    const auto rows = FillReportList(context, "Depot", false);
    EXPECT_THAT(rows, ElementsAre(DownloadReportRow{"2013/08/14", "15:30", "08141530.txt"},
                                  DownloadReportRow{"2014/01/02", "03:04", "01020304.txt"}));
    EXPECT_THAT(FillReportList(context, "Depot", true),
                ElementsAre(DownloadReportRow{"2013/08/14", "15:30", "08141530.pdf"}));
}

TEST_F(DownloadListTest, AFileThatDoesNotBelongGivesAnEmptyRowAndTheMessage) {
    report("notes.txt");
    const auto rows = FillReportList(context, "Depot", false);
    EXPECT_THAT(rows, ElementsAre(DownloadReportRow{"", "", "notes.txt"}));
    const std::string siteDir = (dir / "Depot").string();
    EXPECT_THAT(fake.dialogs.information,
                ElementsAre("File \"notes.txt\" does not belong in the directory " + siteDir +
                            "\r" + siteDir + "\r Please remove it"));
}

TEST_F(DownloadListTest, OpensChosenRowsInListOrderPassingOverEmptyRows) {
    report("08141530.txt");
    report("08141530.pdf");
    report("09010800.txt");
    report("junk.txt");
    const auto rows = FillReportList(context, "Depot", false);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_THAT(OpenSelectedReports(context, "Depot", false, rows, {2, 0, 1}),
                ElementsAre(dir / "Depot" / "08141530.txt", dir / "Depot" / "09010800.txt"));
    // With the PDF option the PDF is taken even where the text exists.
    fake.documents.opened.clear();
    OpenSelectedReports(context, "Depot", true, rows, {1});
    EXPECT_THAT(fake.documents.opened, ElementsAre(dir / "Depot" / "08141530.pdf"));
    // No program for PDF files: message 137 instead.
    fake.documents.pdfProgram.clear();
    EXPECT_TRUE(OpenSelectedReports(context, "Depot", true, rows, {1}).empty());
    EXPECT_THAT(fake.dialogs.information.back(), ::testing::StartsWith("M137\r"));
}

TEST_F(DownloadListTest, YearBelow2000IsRaisedBy2000) {
    report("08141530.txt", 1999);
    EXPECT_EQ(FillReportList(context, "Depot", false).front().date, "3999/08/14");
}

struct CommaCase {
    const char* name;
    const char* text;
    std::vector<std::string> fields;
};

class CommaTextTest : public ::testing::TestWithParam<CommaCase> {};

TEST_P(CommaTextTest, Splits) {
    EXPECT_EQ(readCommaText(GetParam().text), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Reading, CommaTextTest,
    ::testing::Values(CommaCase{"LogLine",
                                R"("2012/03/05 14:07.22","Site A","New Site created")",
                                {"2012/03/05 14:07.22", "Site A", "New Site created"}},
                      CommaCase{"DoubledQuote", R"("say ""hi""",x)", {"say \"hi\"", "x"}},
                      CommaCase{"UnquotedSpaceEndsAField", "a b,c", {"a", "b", "c"}},
                      CommaCase{"BlanksAroundCommas", "  a , b", {"a", "b"}},
                      CommaCase{"EmptyFieldBetweenCommas", "a,,b", {"a", "", "b"}},
                      CommaCase{"TrailingComma", "a,", {"a", ""}}, CommaCase{"Empty", "", {}},
                      CommaCase{"UnclosedQuote", R"("open, still)", {"open, still"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CommaTextWriteTest, QuotesWhatNeedsIt) {
    EXPECT_EQ(writeCommaText({"plain", "", "with space", "a,b", "q\"t", "tab\t"}),
              "plain,,\"with space\",\"a,b\",\"q\"\"t\",\"tab\t\"");
    const std::string line = R"("2012/03/05 14:07.22","Site A","New Site created")";
    EXPECT_EQ(writeCommaText(readCommaText(line)), line);
}

TEST(LogMonthCaptionTest, MonthNameAndYearOrErr) {
    EXPECT_EQ(logMonthCaption("LG201202.txt"), "Febuary 2012");
    EXPECT_EQ(logMonthCaption("LG201203.txt"), "March 2012");
    EXPECT_EQ(logMonthCaption("LG201213.txt"), "Err LG201213.txt");
    EXPECT_EQ(logMonthCaption("LGold.txt"), "Err LGold.txt");
}

class LogViewerTest : public ReportsTest {};

TEST_F(LogViewerTest, ListsTheLogFilesOnly) {
    writeFile(dir / "LG201202.txt", "");
    writeFile(dir / "lg201203.TXT", "");
    writeFile(dir / "LGm201203.txt", "");
    writeFile(dir / "Raw.txt", "");
    EXPECT_THAT(listLogMonths(dir.path()),
                UnorderedElementsAre(LogMonth{"Febuary 2012", "LG201202.txt"},
                                     LogMonth{"March 2012", "lg201203.TXT"}));
}

TEST_F(LogViewerTest, EntriesSplitByTheCommaRuleAndExportedBack) {
    const std::string line = R"("2012/03/05 14:07.22","Site A","New Site created")";
    writeFile(dir / "LG201203.txt", line + "\r\nodd line\r\n");
    const auto entries = loadLogEntries(dir.path(), {"March 2012", "LG201203.txt"});
    EXPECT_THAT(entries, ElementsAre(LogEntry{"2012/03/05 14:07.22", "Site A", "New Site created"},
                                     LogEntry{"odd", "line", ""}));
    saveLogExport(dir / "out.csv", {entries[0]});
    EXPECT_EQ(readFile(dir / "out.csv"), "\"Admin Report Created by Kestrova Ver5.28l\"\r\n"
                                         "\"Date & Time\",\"Site Affected\",\"Action Taken\"\r\n" +
                                             line + "\r\n");
    EXPECT_THROW(loadLogEntries(dir.path(), {"x", "LG209901.txt"}), IoError);
}

} // namespace
} // namespace kestrova::testing
