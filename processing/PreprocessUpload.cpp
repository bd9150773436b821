// Pre-processing of an upload into the day files. Standard library only.
#include "processing/PreprocessUpload.h"

#include "core/FileNames.h"
#include "core/TextFile.h"
#include "processing/DayFiles.h"
#include "processing/Distribution.h"
#include "processing/ProgressGauge.h"
#include "processing/RunGuards.h"
#include "processing/UploadLine.h"
#include "processing/UploadReader.h"

namespace kestrova {
namespace fs = std::filesystem;

namespace {

// Upload lines carry a packet number after the 22 characters of the clocking.
constexpr std::size_t kUploadUnitRecordMinimum = 23;

} // namespace

void PreprocessUpload(ProgramContext& context, MainState& state, const fs::path& uploadFile,
                      SiteMatching matching) {
    const BusyScope busy(context.desktop.busy);
    state.setLed(LedColour::Green);
    state.setStatusText(context.messages.MessageText(37));
    context.desktop.events.processEvents();
    ProgressGauge gauge(state);
    gauge.start(4000);

    const std::vector<std::string> sites = context.sites.names();
    const BucketFileCleanup cleanup(context.programDir, [&sites] { return sites.size(); },
                                    {"sorttemp.$$$"});
    Buckets buckets(sites.size());
    Distribution distribution(sites);
    std::vector<SiteIndex::Occurrence> matches;

    const UploadFile upload = readUploadFile(uploadFile);
    UploadVisitor visitor;
    visitor.onLine = [&] {
        gauge.advance();
        context.desktop.events.processEvents();
    };
    visitor.onHeader = [](std::string_view) {};
    visitor.onClocking = [&](const std::string* unit, const std::string& line) {
        switch (classifyClocking(context.siteIndex, sites.size(), line, matching, matches)) {
        case ClockingClass::Unknown:
            // Special records of no site name nothing that could be stored.
            if (!isSpecialRecord(line))
                buckets.addUnknown(unit, line);
            return;
        case ClockingClass::CorruptOfNoSite:
        case ClockingClass::CorruptOfSites:
            return;
        case ClockingClass::OfSites:
            for (const auto& match : matches)
                distribution.place(static_cast<std::size_t>(match.position), unit, line, buckets);
            return;
        }
    };
    readUpload(upload.lines, {kUploadUnitRecordMinimum, false}, visitor);
    gauge.setMaximum(gauge.position() + 100);
    markUploadDone(uploadFile, upload);

    // The sink every day-file write starts from; existing installations keep it.
    replaceFile(resolveInDirectory(context.programDir, "empty.txt"), "");
    for (std::size_t p = 0; p < sites.size(); ++p)
        mergeIntoDayFiles(resolveInDirectory(context.programDir, sites[p]), buckets.at(p));
}

} // namespace kestrova
