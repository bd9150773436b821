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

std::vector<bool> commonFlags(const std::vector<std::string>& sites) {
    std::vector<bool> flags;
    for (const auto& site : sites)
        flags.push_back(isCommonSite(site));
    return flags;
}

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
    Distribution distribution(commonFlags(sites));
    std::vector<SiteIndex::Occurrence> matches;

    const UploadFile upload = readUploadFile(uploadFile);
    UploadVisitor visitor;
    visitor.onLine = [&] {
        gauge.advance();
        context.desktop.events.processEvents();
    };
    visitor.onHeader = [](std::string_view) {};
    visitor.onClocking = [&](const std::string* unit, const std::string& line) {
        const auto id = clockingId(line);
        if (id)
            findSiteMatches(context.siteIndex, sites.size(), *id, matching, matches);
        else
            matches.clear();
        const bool corrupt = isCorruptRecord(line);
        if (matches.empty()) {
            // Clockings no site lists are kept apart; special records of no site name nothing
            // that could be stored.
            if (corrupt || isSpecialRecord(line))
                return;
            if (unit)
                buckets.unknown().push_back(*unit);
            buckets.unknown().push_back(line);
            return;
        }
        if (corrupt)
            return;
        for (const auto& match : matches)
            distribution.place(static_cast<std::size_t>(match.position), unit, line, buckets);
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
