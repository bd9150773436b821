// Answering the unknown-checkpoint question from an option. Standard library only.
#include "processing/UnknownCheckpointOption.h"

#include "core/FileNames.h"

namespace kestrova {

std::optional<UnknownCheckpointAnswer> parseUnknownCheckpointAnswer(const std::string& value) {
    using Kind = UnknownCheckpointAnswer::Kind;
    if (value == "ignore")
        return UnknownCheckpointAnswer{Kind::Ignore, {}};
    for (const auto& [prefix, kind] : {std::pair{std::string("existing:"), Kind::ExistingSite},
                                       std::pair{std::string("new:"), Kind::NewSite}}) {
        if (value.starts_with(prefix) && value.size() > prefix.size())
            return UnknownCheckpointAnswer{kind, value.substr(prefix.size())};
    }
    return std::nullopt;
}

std::optional<std::size_t> existingSitePosition(const SiteList& sites, const std::string& name) {
    if (const auto exact = sites.positionOf(name))
        return exact;
    std::optional<std::size_t> found;
    const auto names = sites.names();
    for (std::size_t p = 0; p < names.size(); ++p) {
        if (!equalsIgnoreCase(names[p], name))
            continue;
        if (found)
            return std::nullopt; // two sites differ only in case: the name is not clear
        found = p;
    }
    return found;
}

void AnsweringChooser::choose(UnknownCheckpointPlacement& placement) {
    using Kind = UnknownCheckpointAnswer::Kind;
    switch (answer_.kind) {
    case Kind::ExistingSite:
        if (placement.placeInExistingSite(existingSitePosition(placement.sites(), answer_.site)))
            return;
        break;
    case Kind::NewSite:
        if (placement.placeInNewSite(answer_.site))
            return;
        break;
    case Kind::Ignore:
        break;
    }
    // A placement that failed has shown its message; as with the window closed, the clockings
    // are then ignored.
    ignore(placement);
}

void AnsweringChooser::ignore(UnknownCheckpointPlacement& placement) {
    const std::size_t count = placement.clockingCount();
    notices_ << count << (count == 1 ? " clocking" : " clockings")
             << " of unknown checkpoints ignored:";
    for (const auto& id : placement.ids())
        notices_ << ' ' << id;
    notices_ << '\n';
    placement.ignore();
}

} // namespace kestrova
