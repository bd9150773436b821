// The clocking report builder's run. Standard library only.
#include "processing/ProcessUpload.h"

#include "core/CheckpointList.h"
#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/TextFile.h"
#include "processing/ClockingReport.h"
#include "processing/DayFiles.h"
#include "processing/FileTime.h"
#include "processing/ProgressGauge.h"
#include "processing/RunGuards.h"
#include "processing/UploadLine.h"
#include "processing/UploadReader.h"

#include <cstdio>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

// Day-file lines of a report request are 22 characters long and may be unit records too.
constexpr std::size_t kReportUnitRecordMinimum = 22;
constexpr std::size_t kSequenceLength = 22;

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value % 100);
    return text;
}

// What the distribution pass learns about the upload as a whole.
struct UploadSummary {
    std::string identText;
    bool sorted = false;
    bool noSeparator = false;
    bool combined = false;
    std::vector<std::int64_t> corrupt; // per site position
    std::int64_t outOfSequence = 0;
    std::int64_t matched = 0;
};

class DistributionPass {
public:
    DistributionPass(ProcessingServices& services, const std::vector<std::string>& sites,
                     Buckets& buckets, ProgressGauge& gauge)
        : s_(services), buckets_(buckets), gauge_(gauge), distribution_(sites),
          removeDuplicates_(services.context.settings.get().removeDuplicatePoints) {
        summary_.corrupt.assign(sites.size(), 0);
    }

    UploadSummary run(const Lines& lines) {
        UploadVisitor visitor;
        visitor.onLine = [this] {
            gauge_.advance();
            s_.context.desktop.events.processEvents();
        };
        visitor.onHeader = [this](std::string_view header) {
            summary_.sorted = header.size() > 2 && header[2] == 's';
            summary_.noSeparator = header.size() > 2 && header[2] == 'o';
            summary_.identText = identText(header);
            summary_.combined = isReportRequest(header);
        };
        visitor.onClocking = [this](const std::string* unit, const std::string& line) {
            clocking(unit, line);
        };
        readUpload(lines, {kReportUnitRecordMinimum, true}, visitor);
        return std::move(summary_);
    }

private:
    void clocking(const std::string* unit, const std::string& line) {
        switch (classifyClocking(s_.context.siteIndex, buckets_.siteCount(), line, s_.matching,
                                 matches_)) {
        case ClockingClass::Unknown:
            buckets_.addUnknown(unit, line);
            return;
        case ClockingClass::CorruptOfNoSite:
            return;
        case ClockingClass::CorruptOfSites:
            for (const auto& match : matches_)
                ++summary_.corrupt[static_cast<std::size_t>(match.position)];
            return;
        case ClockingClass::OfSites:
            placeOfSites(unit, line);
            return;
        }
    }

    void placeOfSites(const std::string* unit, const std::string& line) {
        // Both tests look at the clocking once, against the clocking before it in the upload:
        // a checkpoint listed by several sites is one touch, and each of those sites reports it.
        const bool duplicate = isDuplicateClocking(line, previous_);
        if (previous_.size() > kSequenceLength && line.size() > kSequenceLength) {
            const auto before = sequenceValue(previous_);
            const auto now = sequenceValue(line);
            if (before && now && *before > *now)
                ++summary_.outOfSequence;
        }
        summary_.matched += static_cast<std::int64_t>(matches_.size());
        if (duplicate && removeDuplicates_)
            return;
        previous_ = line;
        for (const auto& match : matches_)
            distribution_.place(static_cast<std::size_t>(match.position), unit, line, buckets_);
    }

    ProcessingServices& s_;
    Buckets& buckets_;
    ProgressGauge& gauge_;
    Distribution distribution_;
    const bool removeDuplicates_;
    UploadSummary summary_;
    std::string previous_{kNoPreviousClocking};
    std::vector<SiteIndex::Occurrence> matches_;
};

class ReportWriter {
public:
    ReportWriter(ProcessingServices& services, const UploadSummary& summary,
                 const ProcessOptions& options, std::string stamp, std::string uploadTime,
                 ProcessResult& result)
        : s_(services), c_(services.context), settings_(c_.settings.get()), summary_(summary),
          stamp_(std::move(stamp)), run_{c_.messages,
                                         settings_,
                                         summary.combined,
                                         summary.sorted,
                                         summary.noSeparator,
                                         options.pointFilter,
                                         summary.identText,
                                         std::move(uploadTime),
                                         services.state.batonVersion(),
                                         summary.outOfSequence,
                                         summary.matched},
          writePending_(services.state.writePending()), shownIdent_(services.state.identText()),
          result_(result), commonList_(findCommonList()) {}

    void run(Buckets& buckets) {
        if (run_.combined) {
            processed_ = resolveInDirectory(c_.programDir, "Processed.txt");
            result_.reports.push_back(processed_);
        }
        const auto names = c_.sites.names();
        for (std::size_t p = 0; p < names.size(); ++p) {
            const SiteReports files{textReport(names[p]), pdfReport(names[p])};
            if (p < buckets.siteCount() && !buckets.at(p).empty())
                writeSite(p, names[p], buckets.at(p), files);
            if (!run_.combined)
                openAndLog(names[p], files);
        }
        // Written once with every section, so that a run that fails leaves the previous
        // request's file whole.
        if (run_.combined)
            replaceFile(processed_, processedText_);
    }

    // After the buckets are gone: the combined report is shown.
    void finishCombined() {
        const MessageTable& m = c_.messages;
        if (!fileExists(processed_)) {
            c_.desktop.dialogs.showInformation(m.MessageText(150));
            return;
        }
        if (!settings_.secureReports) {
            openIgnoringErrors(processed_);
            return;
        }
        if (sections_ == 0) {
            // No section began a PDF document, so there is nothing to save as "Report.pdf";
            // an older one left there must not be shown as this report.
            c_.desktop.dialogs.showInformation(m.MessageText(150));
            return;
        }
        const fs::path pdf = resolveInDirectory(c_.programDir, "Report.pdf");
        s_.pdf.save(pdf);
        result_.reports.push_back(pdf);
        openPdfIgnoringErrors(pdf);
    }

private:
    // The names of a site's report and PDF for this run's stamp.
    struct SiteReports {
        fs::path text;
        fs::path pdf;
    };

    // The common site's list, when a directory "common" (any case) holds one. The site list
    // does not change while the reports are written, so it is looked up once per run.
    std::optional<fs::path> findCommonList() const {
        const fs::path commonDir = resolveInDirectory(c_.programDir, "common");
        const fs::path list = resolveInDirectory(commonDir, kCheckpointListName);
        if (directoryExists(commonDir) && fileExists(list))
            return list;
        return std::nullopt;
    }

    fs::path siteDirectory(const std::string& site) const {
        return resolveInDirectory(c_.programDir, site);
    }
    fs::path textReport(const std::string& site) const {
        return resolveInDirectory(siteDirectory(site), stamp_ + ".txt");
    }
    fs::path pdfReport(const std::string& site) const {
        return resolveInDirectory(siteDirectory(site), stamp_ + ".pdf");
    }

    LocationBook loadBook(const std::string& site) {
        if (!checkpointListExists(c_.programDir, site))
            CreateEmptyCheckpointList(c_.programDir, site, EmptyListForm::Generic);
        LocationList own = readLocationList(readLines(checkpointListPath(c_.programDir, site)));
        std::optional<LocationList> common;
        // The common site's own list is its site list already.
        if (!isCommonSite(site) && commonList_)
            common = readLocationList(readLines(*commonList_));
        return LocationBook(std::move(own), std::move(common));
    }

    void writeSite(std::size_t position, const std::string& site, const Lines& bucket,
                   const SiteReports& files) {
        c_.desktop.events.processEvents();
        LocationBook book = loadBook(site);
        const SiteSection section{
            site, bucket, position < summary_.corrupt.size() ? summary_.corrupt[position] : 0,
            sections_ == 0};
        const AppendUnknownCheckpoint append = [&](const std::string& id, const std::string& name) {
            AppendCheckpoint(c_.programDir, site, id, name);
        };
        const Lines text = buildSiteReport(run_, section, book, append, s_.pdf);
        const Lines gap = {"", std::string(kReportSeparatorLine), ""};
        if (run_.combined) {
            processedText_ += joinLines(sections_ == 0 ? text : concat(gap, text));
        } else {
            // A report of the same stamp gets the new one after it, in one replacement.
            const fs::path& file = files.text;
            if (fileExists(file))
                replaceFile(file, readFileBytes(file) + joinLines(concat(gap, text)));
            else
                replaceFileLines(file, text);
            result_.reports.push_back(file);
            s_.pdf.save(files.pdf);
            result_.reports.push_back(files.pdf);
            result_.sites.push_back({site, files.pdf, bucket});
        }
        ++sections_;
    }

    static Lines concat(const Lines& a, const Lines& b) {
        Lines out = a;
        out.insert(out.end(), b.begin(), b.end());
        return out;
    }

    void openIgnoringErrors(const fs::path& file) {
        try {
            c_.desktop.documents.openDocument(file);
        } catch (const std::exception&) {
            // A report that cannot be shown is still written and logged.
        }
    }

    void openPdfIgnoringErrors(const fs::path& file) {
        try {
            if (FindPdfViewer(c_.programDir, c_.desktop.documents, ".pdf").empty())
                c_.desktop.dialogs.showInformation(c_.messages.MessageText(137) + "\r" +
                                                   std::string(kPdfViewerHelpAddress));
            else
                c_.desktop.documents.openDocument(file);
        } catch (const std::exception&) {
            // As above: showing the report is a convenience.
        }
    }

    void openAndLog(const std::string& site, const SiteReports& files) {
        const Settings& settings = settings_;
        const fs::path& text = files.text;
        const fs::path& pdf = files.pdf;
        const bool textExists = fileExists(text);
        const bool pdfExists = fileExists(pdf);
        const bool show = settings.openReportAfterProcessing && !writePending_;
        if (textExists && show && !settings.secureReports)
            openIgnoringErrors(text);
        if (pdfExists && show && settings.secureReports)
            openPdfIgnoringErrors(pdf);
        if ((textExists || pdfExists) && !writePending_)
            c_.adminLog.WriteAdminLog(site, (settings.clearKestrovaMemory
                                                 ? "Kestrova Uploaded and cleared "
                                                 : "Kestrova Uploaded and Not cleared ") +
                                                shownIdent_);
    }

    ProcessingServices& s_;
    ProgramContext& c_;
    const Settings settings_; // one record for the whole run
    const UploadSummary& summary_;
    const std::string stamp_;
    const ReportRun run_;
    const bool writePending_;
    const std::string shownIdent_;
    ProcessResult& result_;
    const std::optional<fs::path> commonList_;
    fs::path processed_;
    std::string processedText_;
    std::size_t sections_ = 0;
};

// The unattended copies of the reports just written, when the settings name a folder.
void copyReports(ProgramContext& c, ProcessResult& result) {
    const std::string folder = c.settings.get().reportCopyFolder;
    if (folder.empty() || result.sites.empty())
        return;
    runReportingErrors(c.desktop.dialogs, [&] {
        result.copies = copyReportsToFolder(c.programDir, c.programDir / folder, result.sites,
                                            c.desktop.clock.now(), c.messages);
    });
}

} // namespace

std::string reportStamp(const LocalDateTime& time) {
    return twoDigits(time.month) + twoDigits(time.day) + twoDigits(time.hour) +
           twoDigits(time.minute);
}

ProcessResult ProcessUpload(ProcessingServices& services, const fs::path& uploadFile,
                            const ProcessOptions& options) {
    ProgramContext& c = services.context;
    MainState& state = services.state;
    const BusyScope busy(c.desktop.busy);
    c.desktop.events.processEvents();
    state.setLed(LedColour::Green);
    state.setStatusText(c.messages.MessageText(37));
    ProgressGauge gauge(state);
    gauge.start(0);

    const std::string stamp = reportStamp(c.desktop.clock.now());
    const LocalDateTime uploaded = fileModifiedLocal(uploadFile);
    const std::string uploadTime =
        c.desktop.locale.shortDate(uploaded) + " " + c.desktop.locale.longTime(uploaded);

    const std::vector<std::string> sites = c.sites.names();
    const BucketFileCleanup cleanup(c.programDir, [&c] { return c.sites.size(); });
    Buckets buckets(sites.size());
    gauge.start(4000);

    const UploadFile upload = readUploadFile(uploadFile);
    const UploadSummary summary =
        DistributionPass(services, sites, buckets, gauge).run(upload.lines);
    gauge.setMaximum(gauge.position() + 100);
    markUploadDone(uploadFile, upload);

    if (!buckets.unknown().empty() && !c.settings.get().discardUnknownCheckpoints) {
        UnknownCheckpointPlacement placement(c, buckets);
        services.unknown.choose(placement);
        // Pre-processing stored every clocking of a known checkpoint in its site's day files;
        // the placed ones join them, so later clocking lists show them too. A report request
        // was read from the day files and adds nothing to them.
        const auto position = placement.placedPosition();
        if (position && !summary.combined) {
            if (const auto site = c.sites.at(*position))
                insertIntoDayFiles(resolveInDirectory(c.programDir, *site),
                                   placement.placedClockings());
        }
    }

    ProcessResult result;
    result.combined = summary.combined;
    ReportWriter writer(services, summary, options, stamp, uploadTime, result);
    writer.run(buckets);
    state.setLed(LedColour::Lime);
    if (summary.combined)
        writer.finishCombined();
    else
        copyReports(c, result);
    return result;
}

} // namespace kestrova
