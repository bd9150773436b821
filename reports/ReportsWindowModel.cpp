// The Reports window's operations. Standard library, core, processing and pdf only.
#include "reports/ReportsWindowModel.h"

#include "core/CheckpointList.h"
#include "core/FileNames.h"
#include "core/TextFile.h"
#include "pdf/pdfprint.h"
#include "processing/DoRaw.h"
#include "processing/ReportCopies.h"
#include "processing/UploadReader.h"
#include "reports/ExceptionFiles.h"

#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kShortestCheckpointLine = 10;

// The checkpoint lines of a list as the window's lists read them: the lines after the first
// two while they are longer than nine characters.
template <typename Visit> void forEachCheckpointLine(const Lines& lines, Visit visit) {
    for (std::size_t i = 2; i < lines.size() && lines[i].size() >= kShortestCheckpointLine; ++i)
        visit(lines[i]);
}

std::string entryOf(const std::string& line) {
    return "(" + line.substr(0, 6) + ") " + line.substr(9);
}

// Gives "Raw.txt" back to the upload session however the request ends.
class RequestClaim {
public:
    explicit RequestClaim(MainState& state) : state_(state) {
        held_ = state_.claimUploadFile(UploadFileUser::Request);
    }
    ~RequestClaim() {
        if (held_)
            state_.releaseUploadFile(UploadFileUser::Request);
    }
    RequestClaim(const RequestClaim&) = delete;
    RequestClaim& operator=(const RequestClaim&) = delete;
    bool held() const { return held_; }

private:
    MainState& state_;
    bool held_ = false;
};

class BusyOffAtEnd {
public:
    explicit BusyOffAtEnd(BusyIndicator& busy) : busy_(busy) {}
    ~BusyOffAtEnd() { busy_.setBusy(false); }
    BusyOffAtEnd(const BusyOffAtEnd&) = delete;
    BusyOffAtEnd& operator=(const BusyOffAtEnd&) = delete;

private:
    BusyIndicator& busy_;
};

} // namespace

ReportsWindowModel::ReportsWindowModel(ProgramContext& context, MainState& state)
    : c_(context), state_(state), selection_(initialSelection(context.desktop.clock.now())) {
    controls_.label2Text = c_.messages.MessageText(159);
    controls_.button1Caption = c_.messages.MessageText(163);
}

void ReportsWindowModel::applyStartupSettings() {
    const Settings settings = c_.settings.get();
    const std::size_t count = c_.sites.size();
    if (settings.defaultSite >= 0 && static_cast<std::size_t>(settings.defaultSite) < count)
        site_ = static_cast<std::size_t>(settings.defaultSite);
    if (settings.defaultReport >= 1 && settings.defaultReport <= 3)
        selection_.kind = static_cast<ReportKind>(settings.defaultReport);
    selection_.shift = settings.nightShift ? Shift::Night : Shift::Day;
}

std::optional<std::string> ReportsWindowModel::currentSite() {
    if (!site_ || *site_ >= c_.sites.size()) {
        if (c_.sites.size() == 0)
            return std::nullopt;
        site_ = 0;
    }
    return c_.sites.at(*site_);
}

void ReportsWindowModel::choosePoint(std::size_t index) {
    if (index < pointEntries_.size())
        pointIndex_ = index;
}

void ReportsWindowModel::createFourLineList(const std::string& site) {
    CreateEmptyCheckpointList(c_.programDir, site, EmptyListForm::NamedForSite);
}

void ReportsWindowModel::siteRefresh() {
    const auto site = currentSite();
    if (!site)
        return;
    downloadRows_ = FillReportList(c_, *site, selection_.pdfOption);
    pointEntries_.clear();
    pointIndex_.reset();
    if (checkpointListExists(c_.programDir, *site)) {
        forEachCheckpointLine(
            readLines(checkpointListPath(c_.programDir, *site)),
            [&](const std::string& line) { pointEntries_.push_back(entryOf(line)); });
        if (!pointEntries_.empty())
            pointIndex_ = 0;
    } else {
        createFourLineList(*site);
        selection_.pointFilter = false;
        controls_.pointSelector.enabled = false;
    }
}

void ReportsWindowModel::separatorList() {
    separatorEntries_ = {c_.messages.MessageText(84)};
    separatorIndex_ = 0;
    const auto site = currentSite();
    if (!site)
        return;
    if (!checkpointListExists(c_.programDir, *site)) {
        createFourLineList(*site);
        return;
    }
    forEachCheckpointLine(readLines(checkpointListPath(c_.programDir, *site)),
                          [&](const std::string& line) {
                              separatorEntries_.push_back(entryOf(line));
                              if (line[7] == kSeparatorMark)
                                  separatorIndex_ = separatorEntries_.size() - 1;
                          });
}

void ReportsWindowModel::applyKindRule() {
    if (!startupFinished_)
        return;
    const bool pdfBefore = selection_.pdfOption;
    controls_ = kindRule(selection_, c_.messages, c_.settings.get().secureReports, controls_);
    if (selection_.pdfOption != pdfBefore)
        pdfOptionToggled(selection_.pdfOption);
}

void ReportsWindowModel::FormShow() {
    removeDuplicates_ = c_.settings.get().removeDuplicatePoints;
    separatorList();
}

void ReportsWindowModel::FormActivate() {
    selection_.pdfOption = c_.settings.get().secureReports;
    siteRefresh();
    applyKindRule();
}

void ReportsWindowModel::siteChosen(std::size_t position) {
    if (position < c_.sites.size())
        site_ = position;
    siteRefresh();
    separatorList();
    if (startupFinished_)
        controls_.pointSelector =
            kindRule(selection_, c_.messages, c_.settings.get().secureReports, controls_)
                .pointSelector;
}

void ReportsWindowModel::kindChosen(ReportKind kind) {
    selection_.kind = kind;
    applyKindRule();
}

void ReportsWindowModel::shiftChosen(Shift shift) {
    selection_.shift = shift;
    dateTimeRule(selection_);
}

void ReportsWindowModel::datesChosen(const LocalDateTime& fromDate, const LocalDateTime& toDate) {
    selection_.fromDate = fromDate;
    selection_.toDate = toDate;
    dateTimeRule(selection_);
}

void ReportsWindowModel::sliderMoved(bool toSlider, int position) {
    std::string& text = toSlider ? selection_.toTime : selection_.fromTime;
    (toSlider ? selection_.toHour : selection_.fromHour) = position;
    text = timeForSlider(position, text);
}

void ReportsWindowModel::timeEdited(bool toField, const std::string& text) {
    (toField ? selection_.toTime : selection_.fromTime) = text;
    if (const auto hour = sliderForTime(text))
        (toField ? selection_.toHour : selection_.fromHour) = *hour;
}

void ReportsWindowModel::pointFilterToggled(bool checked) {
    selection_.pointFilter = checked;
    controls_.pointSelector.enabled = checked;
}

void ReportsWindowModel::pdfOptionToggled(bool checked) {
    selection_.pdfOption = checked;
    siteRefresh();
    c_.settings.update([&](Settings& s) { s.secureReports = checked; });
}

void ReportsWindowModel::separatorChosen(std::size_t index) {
    const auto site = currentSite();
    if (!site || index >= separatorEntries_.size())
        return;
    separatorIndex_ = index;
    const std::string& entry = separatorEntries_[index];
    const std::string id = entry.size() > 1 ? entry.substr(1, 6) : std::string();
    CheckpointListContents list = LoadCheckpointList(c_.programDir, *site);
    for (auto& checkpoint : list.checkpoints)
        checkpoint.mark = checkpoint.id == id ? kSeparatorMark : kOrdinaryMark;
    SaveCheckpointList(c_.programDir, *site, list.checkpoints, normaliseSchedule(list.schedule));
}

void ReportsWindowModel::separatorLeft() {
    const auto site = currentSite();
    if (!site)
        return;
    const CheckpointListContents list = LoadCheckpointList(c_.programDir, *site);
    SaveCheckpointList(c_.programDir, *site, list.checkpoints, normaliseSchedule(list.schedule));
}

void ReportsWindowModel::advancedToggled() {
    const bool pdfBefore = selection_.pdfOption;
    controls_ = layoutToggle(selection_, c_.messages, c_.settings.get().secureReports, controls_);
    if (selection_.pdfOption != pdfBefore)
        pdfOptionToggled(selection_.pdfOption);
}

void ReportsWindowModel::helpMarker(HelpMarker marker) {
    static constexpr const char* kDocuments[] = {"", "overhelp.pdf", "listhelp.pdf",
                                                 "downhelp.pdf"};
    try {
        if (FindPdfViewer(c_.programDir, c_.desktop.documents, ".pdf").empty())
            c_.desktop.dialogs.showInformation(c_.messages.MessageText(137) + "\r" +
                                               std::string(kPdfViewerHelpAddress));
        else
            c_.desktop.documents.openDocument(c_.programDir / kDocuments[static_cast<int>(marker)]);
    } catch (const std::exception&) {
        // Help that cannot be opened is not worth a second message.
    }
}

std::string ReportsWindowModel::pointSelectorText() const {
    return pointIndex_ ? pointEntries_[*pointIndex_] : std::string();
}

DispatchOutcome ReportsWindowModel::createOpen(const std::vector<std::size_t>& selectedRows,
                                               ProcessingServices& processing,
                                               OverviewChart& chart) {
    return dispatch(selectedRows, processing, chart, std::nullopt);
}

DispatchOutcome ReportsWindowModel::saveCsv(const fs::path& file, ProcessingServices& processing,
                                            OverviewChart& chart) {
    const ReportKind kind = selection_.kind;
    if (kind != ReportKind::ClockingList && kind != ReportKind::Exception)
        return DispatchOutcome::NothingReported;
    return dispatch({}, processing, chart, file);
}

DispatchOutcome ReportsWindowModel::dispatch(const std::vector<std::size_t>& selectedRows,
                                             ProcessingServices& processing, OverviewChart& chart,
                                             const std::optional<fs::path>& csvFile) {
    written_.clear();
    bool refused = false;
    const fs::path report = resolveInDirectory(c_.programDir, "Report.pdf");
    if (fileExists(report) && !selection_.pdfOption) {
        std::error_code ec;
        if (!fs::remove(report, ec) || ec) {
            c_.desktop.dialogs.showInformation(c_.messages.MessageText(174));
            refused = true;
        }
    }
    const auto site = currentSite();
    if (selection_.kind == ReportKind::ByDownload) {
        if (site)
            OpenSelectedReports(c_, *site, selection_.pdfOption, downloadRows_, selectedRows);
        return DispatchOutcome::OpenedReports;
    }
    if (refused || !site)
        return DispatchOutcome::Refused;
    if (selection_.kind == ReportKind::Exception)
        return buildExceptionReport(csvFile);
    const DispatchOutcome outcome = buildReport(processing, chart);
    if (csvFile && outcome == DispatchOutcome::Reported) {
        writeCsvFile(*csvFile, clockingCsvHeader(),
                     clockingCsvRows(*site, requestClockings(c_.programDir),
                                     readLocationNames(c_.programDir, *site), c_.messages));
        written_.push_back(*csvFile);
    }
    return outcome;
}

DispatchOutcome ReportsWindowModel::buildExceptionReport(const std::optional<fs::path>& csvFile) {
    const BusyOffAtEnd busyOff(c_.desktop.busy);
    const LocalDateTime now = c_.desktop.clock.now();
    const LocalDateTime& from = selection_.fromDate;
    const LocalDateTime& to = selection_.toDate;
    const ExceptionRequest request{
        *currentSite(), makeDay(from.year, from.month, from.day),
        makeDay(to.year, to.month, to.day),
        minutesAt(makeDay(now.year, now.month, now.day), now.hour * 60 + now.minute)};
    // A writer of its own, with the messages of the language now loaded.
    pdf::PdfPrint print(c_.desktop.clock, c_.desktop.locale);
    print.PdfSetMessages(c_.messages.range(1, pdf::PdfPrint::kMessageCount));
    written_ = createExceptionReport(c_, request, print, {std::nullopt, false, csvFile});
    if (written_.empty())
        return DispatchOutcome::NothingReported;
    openReport(exceptionReportPath(c_.programDir, std::nullopt, request, ".txt"),
               exceptionReportPath(c_.programDir, std::nullopt, request, ".pdf"));
    return DispatchOutcome::Reported;
}

void ReportsWindowModel::openReport(const fs::path& text, const fs::path& pdf) {
    if (!c_.settings.get().openReportAfterProcessing)
        return;
    try {
        if (!c_.settings.get().secureReports)
            c_.desktop.documents.openDocument(text);
        else if (FindPdfViewer(c_.programDir, c_.desktop.documents, ".pdf").empty())
            c_.desktop.dialogs.showInformation(c_.messages.MessageText(137) + "\r" +
                                               std::string(kPdfViewerHelpAddress));
        else
            c_.desktop.documents.openDocument(pdf);
    } catch (const std::exception&) {
        // The system's open action reports its own failures; the report is written.
    }
}

DispatchOutcome ReportsWindowModel::buildReport(ProcessingServices& processing,
                                                OverviewChart& chart) {
    const RequestClaim claim(state_);
    if (!claim.held()) {
        state_.setStatusText(std::string(kUploadBusyStatus));
        return DispatchOutcome::Refused;
    }
    // The request is written into the upload file: an upload still waiting there is processed
    // first, so that its clockings reach the day files (and this report) instead of being lost.
    const fs::path raw = defaultUploadFile(c_.programDir);
    bool processedFirst = false;
    if (fileExists(raw)) {
        const Lines waiting = readLines(raw);
        if (!waiting.empty() && !endsWithDoneMarker(waiting)) {
            DoRaw(processing, raw);
            processedFirst = true;
        }
    }

    const BusyOffAtEnd busyOff(c_.desktop.busy);
    const auto site = currentSite();
    ReportRequest request(c_, state_, *site, selectionRange(selection_), selection_.kind);
    const bool list = selection_.kind == ReportKind::ClockingList;
    const bool filter = selection_.pointFilter;
    request.SelectRange();
    if (selection_.sortOption || (filter && list))
        request.SortByCheckpoint(filter, pointSelectorText());
    const OverviewOptions overview{selection_.shift, filter, selectedPointId(pointSelectorText())};
    if (!list)
        SelectShifts(c_, request, overview);
    request.FinishRequest();
    if (request.recordCount() > 0) {
        if (list)
            written_ = request.HandOver(processing, filter).reports;
        else
            written_.push_back(DrawOverview(c_, request, overview, chart));
    }
    const Completion completion = request.CheckCompletion();
    if (processedFirst)
        state_.setStatusText(std::string(kUploadProcessedFirstStatus));
    return completion == Completion::Reported ? DispatchOutcome::Reported
                                              : DispatchOutcome::NothingReported;
}

} // namespace kestrova
