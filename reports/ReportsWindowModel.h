// The Reports window without its widgets: the selection, the lists it shows (download reports,
// point selector, patrol separators) and every operation its events trigger: show, activate,
// site chosen, kind chosen, shift or date chosen, sliders and time fields, the point filter, the
// PDF option, the separator list, the layout toggle and "Create/Open". The window holds one,
// applies `controls()` and the lists after each operation, and shows nothing by itself.
// Standard library, core, processing and pdf only.
#pragma once

#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "processing/ProcessUpload.h"
#include "reports/DownloadReports.h"
#include "reports/Overview.h"
#include "reports/ReportWindowRules.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrova {

// What "Create/Open" came to.
enum class DispatchOutcome {
    OpenedReports, // report by download: the window stays open
    Refused,       // "Report.pdf" could not be deleted, or an upload holds "Raw.txt"
    Reported,      // something was reported: the window closes
    NothingReported,
};

// The help markers Shape1 to Shape3.
enum class HelpMarker { Overview = 1, ClockingList = 2, ByDownload = 3 };

// The status line shown when a request has to wait for an upload, and when an upload that was
// never processed had to be processed before the request could use the file.
inline constexpr std::string_view kUploadBusyStatus =
    "An upload is being read into Raw.txt: try the report again when it is done";
inline constexpr std::string_view kUploadProcessedFirstStatus =
    "The unprocessed upload in Raw.txt was processed before the report";

class ReportsWindowModel {
public:
    ReportsWindowModel(ProgramContext& context, MainState& state);

    // Start-up: the site list, the DefaultSite, DefaultReport and DayorNight settings.
    void applyStartupSettings();
    // The kind rule does nothing until the main window's start-up has finished.
    void setStartupFinished(bool finished) { startupFinished_ = finished; }
    // A language file was applied: the sort option is cleared.
    void languageApplied() { selection_.sortOption = false; }

    const ReportSelection& selection() const { return selection_; }
    ReportSelection& selection() { return selection_; }
    const ReportControls& controls() const { return controls_; }
    std::vector<std::string> siteNames() const { return c_.sites.names(); }
    std::optional<std::size_t> sitePosition() const { return site_; }
    // The selected site, or the first (selecting it) when none is; none without sites.
    std::optional<std::string> currentSite();

    const std::vector<DownloadReportRow>& downloadRows() const { return downloadRows_; }
    const std::vector<std::string>& pointSelector() const { return pointEntries_; }
    std::optional<std::size_t> pointIndex() const { return pointIndex_; }
    void choosePoint(std::size_t index);
    const std::vector<std::string>& separatorEntries() const { return separatorEntries_; }
    std::optional<std::size_t> separatorIndex() const { return separatorIndex_; }
    bool removeDuplicatesBox() const { return removeDuplicates_; }

    // Events.
    void FormShow();
    void FormActivate();
    void siteChosen(std::size_t position);
    void kindChosen(ReportKind kind);
    void shiftChosen(Shift shift);
    void datesChosen(const LocalDateTime& fromDate, const LocalDateTime& toDate);
    void sliderMoved(bool toSlider, int position);
    void timeEdited(bool toField, const std::string& text);
    void pointFilterToggled(bool checked);
    void pdfOptionToggled(bool checked);
    void separatorChosen(std::size_t index);
    void separatorLeft();
    void advancedToggled();
    void helpMarker(HelpMarker marker);

    // "Create/Open" with the rows of the download list selected; `chart` draws the overview and
    // `processing` builds the clocking list (its context and state are this model's).
    DispatchOutcome createOpen(const std::vector<std::size_t>& selectedRows,
                               ProcessingServices& processing, OverviewChart& chart);
    // "Save as CSV": "Create/Open" of a clocking list or an exception report, and beside it the
    // report's rows (one per clocking or per exception) as CSV in `file`. Nothing is written to
    // `file` when nothing is reported; other kinds write nothing.
    DispatchOutcome saveCsv(const std::filesystem::path& file, ProcessingServices& processing,
                            OverviewChart& chart);
    // The files the last "Create/Open" wrote: "Processed.txt" and "Report.pdf", or the
    // exception report's "Exceptions.txt" and "Exceptions.pdf" (and the CSV).
    const std::vector<std::filesystem::path>& written() const { return written_; }

private:
    void siteRefresh();
    void separatorList();
    void applyKindRule();
    void createFourLineList(const std::string& site);
    std::string pointSelectorText() const;
    DispatchOutcome dispatch(const std::vector<std::size_t>& selectedRows,
                             ProcessingServices& processing, OverviewChart& chart,
                             const std::optional<std::filesystem::path>& csvFile);
    DispatchOutcome buildReport(ProcessingServices& processing, OverviewChart& chart);
    DispatchOutcome buildExceptionReport(const std::optional<std::filesystem::path>& csvFile);
    void openReport(const std::filesystem::path& text, const std::filesystem::path& pdf);

    ProgramContext& c_;
    MainState& state_;
    ReportSelection selection_;
    ReportControls controls_;
    bool startupFinished_ = true;
    std::optional<std::size_t> site_;
    std::vector<DownloadReportRow> downloadRows_;
    std::vector<std::string> pointEntries_;
    std::optional<std::size_t> pointIndex_;
    std::vector<std::string> separatorEntries_;
    std::optional<std::size_t> separatorIndex_;
    bool removeDuplicates_ = true;
    std::vector<std::filesystem::path> written_;
};

} // namespace kestrova
