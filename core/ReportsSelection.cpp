#include "core/ReportsSelection.h"

namespace kestrova {

StoredReportsSelection::StoredReportsSelection(const Settings& settings)
    : defaultSite_(settings.defaultSite), defaultReport_(settings.defaultReport),
      nightShift_(settings.nightShift) {}

std::optional<int> StoredReportsSelection::selectedSitePosition() const {
    return defaultSite_;
}

std::optional<int> StoredReportsSelection::selectedReportKind() const {
    // A stored kind outside 1 to 3 matches none of the three choices.
    if (defaultReport_ < 1 || defaultReport_ > 3)
        return std::nullopt;
    return defaultReport_;
}

bool StoredReportsSelection::nightShiftChosen() const {
    return nightShift_;
}

} // namespace kestrova
