// The unknown-checkpoint window's choice, carried out.
#include "processing/UnknownCheckpointChoice.h"

namespace kestrova {

bool siteListEnabled(UnknownChoice choice) {
    return choice == UnknownChoice::ExistingSite;
}

bool UnknownChoiceOk(UnknownCheckpointPlacement& placement, UnknownChoice choice,
                     std::optional<std::size_t> selected) {
    switch (choice) {
    case UnknownChoice::ExistingSite:
        return placement.placeInExistingSite(selected);
    case UnknownChoice::NewSite:
        return placement.placeInNewSite();
    case UnknownChoice::Ignore:
        placement.ignore();
        return true;
    }
    return false;
}

} // namespace kestrova
