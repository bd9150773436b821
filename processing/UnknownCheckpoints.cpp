// The three choices for clockings of unknown checkpoints. Standard library only.
#include "processing/UnknownCheckpoints.h"

#include "core/Errors.h"
#include "core/SiteNames.h"
#include "core/SiteSetup.h"
#include "processing/UploadLine.h"

#include <algorithm>
#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kReportUnitRecordMinimum = 22;

// The clocking lines of the unknown bucket, without the unit records that travel before them.
template <typename Visit> void forEachClocking(const Lines& bucket, Visit visit) {
    for (std::size_t i = 0; i < bucket.size(); ++i) {
        if (i + 1 < bucket.size() && isUnitRecord(bucket[i], kReportUnitRecordMinimum))
            ++i;
        visit(bucket[i]);
    }
}

} // namespace

UnknownCheckpointPlacement::UnknownCheckpointPlacement(ProgramContext& context, Buckets& buckets)
    : context_(context), buckets_(buckets) {}

std::size_t UnknownCheckpointPlacement::clockingCount() const {
    std::size_t count = 0;
    forEachClocking(buckets_.unknown(), [&](const std::string&) { ++count; });
    return count;
}

std::vector<std::string> UnknownCheckpointPlacement::ids() const {
    std::vector<std::string> ids;
    forEachClocking(buckets_.unknown(), [&](const std::string& line) {
        const std::string id(clockingId(line).value_or(std::string_view()));
        if (std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    });
    return ids;
}

std::vector<std::string> UnknownCheckpointPlacement::siteNames() const {
    return context_.sites.names();
}

bool UnknownCheckpointPlacement::placeInExistingSite(std::optional<std::size_t> position) {
    if (!position || *position >= buckets_.siteCount()) {
        const MessageTable& m = context_.messages;
        context_.desktop.dialogs.showInformation(m.MessageText(32) + "\r" + m.MessageText(33) +
                                                 "\r" + m.MessageText(34));
        return false;
    }
    Lines& unknown = buckets_.unknown();
    Lines& site = buckets_.at(*position);
    placedPosition_ = *position;
    placed_ = unknown;
    site.insert(site.end(), std::make_move_iterator(unknown.begin()),
                std::make_move_iterator(unknown.end()));
    unknown.clear();
    return true;
}

bool UnknownCheckpointPlacement::placeInNewSite() {
    const MessageTable& m = context_.messages;
    const auto name = context_.desktop.dialogs.inputLine(m.MessageText(2), m.MessageText(3), "");
    if (!name || name->empty())
        return false;
    return placeInNewSite(*name);
}

bool UnknownCheckpointPlacement::placeInNewSite(const std::string& name) {
    std::error_code ec;
    const fs::path dir = context_.programDir / name;
    if (!createSiteDirectory(context_.programDir, name)) {
        context_.desktop.dialogs.showError(context_.messages.MessageText(20) + " " + name);
        return false;
    }
    fs::create_directory(dir / "Raw", ec);
    if (ec)
        throw makeIoError("create", dir / "Raw");
    // The new site goes to the end of the lists, so its position is the unknown bucket's.
    context_.sites.append(name);
    LoadSiteIndex(context_);
    placedPosition_ = buckets_.siteCount();
    placed_ = buckets_.unknown();
    buckets_.unknownBecomesSite();
    return true;
}

void UnknownCheckpointPlacement::ignore() {
    buckets_.unknown().clear();
}

} // namespace kestrova
