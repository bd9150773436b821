// Opening the checkpoint editor on a named site.
#include "cli/SiteEditor.h"

#include "core/FileNames.h"
#include "core/ProgramContext.h"

#include <stdexcept>

namespace kestrova::cli {

namespace {

std::optional<std::size_t> findSite(const std::vector<std::string>& names,
                                    const std::string& site) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == site)
            return i;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (equalsIgnoreCase(names[i], site))
            return i;
    return std::nullopt;
}

} // namespace

SiteEditor::SiteEditor(const CliSession& session, const std::string& site) : program_(session) {
    program_.loadSettingsAndMessages();
    ProgramContext& c = program_.context();
    // The site list only: building the index would give a site without a list the generic
    // empty list, where the editor gives it one that names the site.
    c.sites.reset(BuildSiteList(c.programDir));
    const auto position = findSite(c.sites.names(), site);
    if (!position)
        throw std::runtime_error("There is no site \"" + site + "\"");
    editor_.emplace(c, state_, position);
    editor_->open(std::nullopt);
}

} // namespace kestrova::cli
