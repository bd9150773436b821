// The Reports window's operations without a window: site refresh, the separator list and
// choice, the PDF option, and "Create/Open" end to end through the report builder, with an
// upload waiting in "Raw.txt" or still being read.
#include "reports/ReportsWindowModel.h"

#include "ExceptionFixture.h"
#include "ReportsFixture.h"
#include "core/CheckpointList.h"
#include "processing/ReportPdf.h"

namespace kestrova::testing {
namespace {

using ::testing::ElementsAre;

class ReportsWindowModelTest : public ReportsTest {
protected:
    ReportsWindowModelTest() {
        site("Depot", {"00A1F3 = Gate", "00B2C4 # Yard", "00B2C4 = Yard again"});
        std::filesystem::create_directories(dir / "Empty");
        loadSites();
        context.settings.update([&](Settings& s) { s.openReportAfterProcessing = false; });
    }
    DispatchOutcome create(std::vector<std::size_t> rows = {}) {
        return model.createOpen(rows, processing, chart);
    }
    ReportsWindowModel model{context, state};
    NoPdf pdf;
    IgnoreUnknownCheckpoints unknown;
    ProcessingServices processing{context, state, unknown, pdf};
    RecordingChart chart;
};

TEST_F(ReportsWindowModelTest, SiteRefreshFillsThePointSelector) {
    model.FormShow();
    model.FormActivate();
    EXPECT_THAT(model.pointSelector(),
                ElementsAre("(00A1F3) Gate", "(00B2C4) Yard", "(00B2C4) Yard again"));
    EXPECT_EQ(model.pointIndex(), 0u);
    EXPECT_THAT(model.separatorEntries(),
                ElementsAre("none", "(00A1F3) Gate", "(00B2C4) Yard", "(00B2C4) Yard again"));
    EXPECT_EQ(model.separatorIndex(), 2u);
}

TEST_F(ReportsWindowModelTest, ASiteWithoutAListGetsOneAndLosesThePointFilter) {
    std::filesystem::remove(dir / "Empty" / "checkpt.lst");
    model.pointFilterToggled(true);
    model.siteChosen(*context.sites.positionOf("Empty"));
    EXPECT_EQ(readFile(dir / "Empty" / "checkpt.lst"),
              "//Checkpoint list for Empty\r\n\r\n\r\n//End of File\r\n");
    EXPECT_TRUE(model.pointSelector().empty());
    EXPECT_FALSE(model.selection().pointFilter);
    EXPECT_FALSE(model.controls().pointSelector.enabled);
}

TEST_F(ReportsWindowModelTest, SeparatorChoiceMarksEveryRowOfTheIdAndNoneClearsThem) {
    model.FormShow();
    model.separatorChosen(2);
    auto list = LoadCheckpointList(dir.path(), "Depot").checkpoints;
    EXPECT_EQ(list[0].mark, '=');
    EXPECT_EQ(list[1].mark, '#');
    EXPECT_EQ(list[2].mark, '#');
    model.separatorChosen(0);
    list = LoadCheckpointList(dir.path(), "Depot").checkpoints;
    for (const auto& checkpoint : list)
        EXPECT_EQ(checkpoint.mark, '=') << checkpoint.id;
}

TEST_F(ReportsWindowModelTest, ChoosingTheOverviewTurnsSecureReportsOn) {
    context.settings.update([&](Settings& s) { s.secureReports = false; });
    model.kindChosen(ReportKind::ClockingList);
    model.FormActivate();
    EXPECT_FALSE(model.selection().pdfOption);
    model.kindChosen(ReportKind::Overview);
    EXPECT_TRUE(model.selection().pdfOption);
    EXPECT_TRUE(context.settings.get().secureReports);
    model.kindChosen(ReportKind::ClockingList);
    EXPECT_TRUE(model.selection().pdfOption);
}

TEST_F(ReportsWindowModelTest, ClockingListThroughTheReportBuilder) {
    dayFile("Depot", "240309", {dayLine("00A1F3", "2403091300"), dayLine("00B2C4", "2403091400")});
    model.kindChosen(ReportKind::ClockingList);
    model.datesChosen(march(1), march(10));
    model.selection().sortOption = false;
    EXPECT_EQ(create(), DispatchOutcome::Reported);
    const std::string processed = readFile(dir / "Processed.txt");
    EXPECT_THAT(processed, ::testing::HasSubstr("\r\nFrom 12:00:00 09/03/2024 to 12:00:00 "
                                                "10/03/2024\r\n"));
    EXPECT_THAT(processed, ::testing::HasSubstr("2024/03/09 13:00  (00A1F3)   Gate"));
    EXPECT_EQ(rawLines().back(), "Done");
    EXPECT_FALSE(fake.busy.busy);
}

TEST_F(ReportsWindowModelTest, NothingInRangeKeepsTheWindowOpen) {
    model.kindChosen(ReportKind::ClockingList);
    EXPECT_EQ(create(), DispatchOutcome::NothingReported);
    EXPECT_THAT(fake.dialogs.information.back(), ::testing::StartsWith("M150\n\r"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Processed.txt"));
}

// "Save as CSV" writes rows only beside a report that was made: not for the kinds that have no
// rows, and not when the range holds nothing (the report's own message says so).
struct CsvCase {
    const char* name;
    ReportKind kind;
    bool advanced;
    DispatchOutcome outcome;
    const char* message; // start of the message shown; empty: none
};

class SaveCsvTest : public ReportsWindowModelTest, public ::testing::WithParamInterface<CsvCase> {};

TEST_P(SaveCsvTest, WritesRowsOnlyBesideAReport) {
    const CsvCase& row = GetParam();
    // A site with a schedule, so that the exception report looks for day files.
    SaveCheckpointList(dir.path(), "Depot", LoadCheckpointList(dir.path(), "Depot").checkpoints,
                       sampleSchedule());
    if (row.advanced)
        model.advancedToggled();
    model.kindChosen(row.kind);
    model.datesChosen(march(1), march(2));
    EXPECT_EQ(model.saveCsv(dir / "rows.csv", processing, chart), row.outcome);
    EXPECT_FALSE(std::filesystem::exists(dir / "rows.csv"));
    if (*row.message)
        EXPECT_THAT(fake.dialogs.information, ElementsAre(::testing::StartsWith(row.message)));
    else
        EXPECT_TRUE(fake.dialogs.information.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SaveCsvTest,
    ::testing::Values(
        CsvCase{"Overview", ReportKind::Overview, true, DispatchOutcome::NothingReported, ""},
        CsvCase{"ByDownload", ReportKind::ByDownload, false, DispatchOutcome::NothingReported, ""},
        CsvCase{"ListNothingInRange", ReportKind::ClockingList, true,
                DispatchOutcome::NothingReported, "M150\n\r"},
        CsvCase{"ExceptionsWithoutDayFiles", ReportKind::Exception, true,
                DispatchOutcome::NothingReported, "M150"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ReportsWindowModelTest, OverviewDrawsTheChart) {
    dayFile("Depot", "240310", {dayLine("00A1F3", "2403100100")});
    model.kindChosen(ReportKind::Overview);
    model.datesChosen(march(9), march(10));
    EXPECT_EQ(create(), DispatchOutcome::Reported);
    EXPECT_THAT(chart.calls, ::testing::Contains("row|Gate|2|01:00 "));
}

// A file that cannot be deleted: an immutable one (the tests may run as root, for whom a
// read-only directory is no obstacle). Skips where the file system cannot do it.
class UndeletableFile {
public:
    explicit UndeletableFile(std::filesystem::path file) : file_(std::move(file)) {
        writeFile(file_, "%PDF old");
        made_ = std::system(("chattr +i '" + file_.string() + "' 2>/dev/null").c_str()) == 0;
    }
    ~UndeletableFile() {
        if (made_) [[maybe_unused]]
            const int rc = std::system(("chattr -i '" + file_.string() + "'").c_str());
    }
    bool made() const { return made_; }

private:
    std::filesystem::path file_;
    bool made_ = false;
};

TEST_F(ReportsWindowModelTest, ReportPdfThatCannotBeDeletedRefusesTheRequest) {
    const UndeletableFile old(dir / "Report.pdf");
    if (!old.made())
        GTEST_SKIP() << "no immutable files here";
    model.kindChosen(ReportKind::ClockingList);
    model.selection().pdfOption = false;
    EXPECT_EQ(create(), DispatchOutcome::Refused);
    EXPECT_THAT(fake.dialogs.information, ElementsAre("M174"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Raw.txt"));
}

TEST_F(ReportsWindowModelTest, AnUnprocessedUploadIsProcessedBeforeTheRequest) {
    const Lines upload = {"Id : KEST0042",
                          "000000"
                          "00A1F3"
                          "2403091300"
                          "1",
                          "000000"
                          "00A1F3"
                          "2403091305"
                          "2"};
    writeFile(dir / "Raw.txt", joinLines(upload));
    model.kindChosen(ReportKind::ClockingList);
    model.datesChosen(march(1), march(10));
    EXPECT_EQ(create(), DispatchOutcome::Reported);
    // The upload's clockings reached the day files, and so the report.
    EXPECT_THAT(readLines(dir / "Depot" / "Raw" / "240309.txt"),
                ElementsAre(dayLine("00A1F3", "2403091300"), dayLine("00A1F3", "2403091305")));
    EXPECT_THAT(readFile(dir / "Processed.txt"),
                ::testing::HasSubstr("2024/03/09 13:05  (00A1F3)   Gate"));
    EXPECT_EQ(state.statusText(), kUploadProcessedFirstStatus);
}

TEST_F(ReportsWindowModelTest, ARequestWaitsForAnUploadThatHoldsTheFile) {
    writeFile(dir / "Raw.txt", "Id : KEST0042\r\n");
    ASSERT_TRUE(state.claimUploadFile(UploadFileUser::Upload));
    model.kindChosen(ReportKind::ClockingList);
    EXPECT_EQ(create(), DispatchOutcome::Refused);
    EXPECT_EQ(readFile(dir / "Raw.txt"), "Id : KEST0042\r\n");
    EXPECT_EQ(state.statusText(), kUploadBusyStatus);
    state.releaseUploadFile(UploadFileUser::Upload);
    EXPECT_NE(create(), DispatchOutcome::Refused);
    EXPECT_EQ(state.uploadFileUser(), UploadFileUser::None);
}

TEST_F(ReportsWindowModelTest, ReportByDownloadOpensTheChosenRows) {
    writeFile(dir / "Depot" / "03091300.txt", "x");
    model.kindChosen(ReportKind::ByDownload);
    model.FormActivate();
    ASSERT_EQ(model.downloadRows().size(), 1u);
    EXPECT_EQ(create({0}), DispatchOutcome::OpenedReports);
    EXPECT_THAT(fake.documents.opened, ElementsAre(dir / "Depot" / "03091300.txt"));
}

} // namespace
} // namespace kestrova::testing
