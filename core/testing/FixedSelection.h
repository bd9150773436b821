// The Reports window's choices as a test sets them, for the preferences writer.
#pragma once

#include "core/ReportsSelection.h"

#include <optional>

namespace kestrova::testing {

struct FixedSelection : ReportsSelection {
    std::optional<int> site;
    std::optional<int> kind;
    bool night = true;
    std::optional<int> selectedSitePosition() const override { return site; }
    std::optional<int> selectedReportKind() const override { return kind; }
    bool nightShiftChosen() const override { return night; }
};

} // namespace kestrova::testing
