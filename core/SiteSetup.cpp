// Creating sites and loading the site checkpoint index over the shared state.
#include "core/SiteSetup.h"

#include "core/CheckpointList.h"
#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/SiteNames.h"
#include "core/TextFile.h"

#include <cerrno>
#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr int kNewSiteTitle = 2;
constexpr int kNewSitePrompt = 3;
constexpr int kCouldNotCreateSite = 20;

void createRawDirectory(const fs::path& siteDir) {
    const fs::path raw = resolveInDirectory(siteDir, "Raw");
    if (directoryExists(raw))
        return;
    std::error_code ec;
    fs::create_directory(siteDir / "Raw", ec);
    if (ec) {
        errno = ec.value();
        throw makeIoError("create directory", siteDir / "Raw");
    }
}

std::optional<std::string> askSiteName(ProgramContext& context) {
    return context.desktop.dialogs.inputLine(context.messages.MessageText(kNewSiteTitle),
                                             context.messages.MessageText(kNewSitePrompt), "");
}

void reportCouldNotCreate(ProgramContext& context, const std::string& name) {
    context.desktop.dialogs.showError(context.messages.MessageText(kCouldNotCreateSite) + " " +
                                      name);
}

} // namespace

void AddFirstSite(ProgramContext& context) {
    for (;;) {
        const auto answer = askSiteName(context);
        if (!answer || answer->empty())
            continue;
        if (!createSiteDirectory(context.programDir, *answer)) {
            reportCouldNotCreate(context, *answer);
            continue;
        }
        context.sites.append(*answer);
        createRawDirectory(context.programDir / *answer);
        return;
    }
}

std::optional<std::string> AddSite(ProgramContext& context) {
    const auto answer = askSiteName(context);
    if (!answer || answer->empty())
        return std::nullopt;
    if (!createSiteDirectory(context.programDir, *answer)) {
        reportCouldNotCreate(context, *answer);
        return std::nullopt;
    }
    context.sites.append(*answer);
    createRawDirectory(context.programDir / *answer);
    context.adminLog.WriteAdminLog(*answer, "New Site created");
    return answer;
}

void LoadSiteIndex(ProgramContext& context) {
    context.siteIndex.clear();
    const auto names = context.sites.names();
    for (std::size_t position = 0; position < names.size(); ++position) {
        const std::string& site = names[position];
        createRawDirectory(resolveInDirectory(context.programDir, site));
        if (!checkpointListExists(context.programDir, site))
            CreateEmptyCheckpointList(context.programDir, site, EmptyListForm::Generic);
        if (position >= static_cast<std::size_t>(SiteIndex::kBlocks)) {
            context.trace.WriteTrace("site index full, not indexed: " + site);
            continue;
        }
        const auto ids = ReadCheckpointIds(context.programDir, site);
        const std::size_t dropped = context.siteIndex.setBlock(static_cast<int>(position), ids);
        if (dropped > 0)
            context.trace.WriteTrace("site index block full, " + std::to_string(dropped) +
                                     " ids not indexed: " + site);
    }
}

} // namespace kestrova
