// The Reports window's current choices, as the settings writer reads them: which site is
// selected in its site list, which report kind is chosen and whether the night-shift overview
// is chosen. The settings writer (the preferences window's "&Ok", also run whenever the Reports
// window loses activation) stores these as the Reports window's defaults. It depends on nothing
// but the settings record; the Reports window implements the interface over its own controls.
// Standard library only.
#pragma once

#include "core/Settings.h"

#include <optional>

namespace kestrova {

class ReportsSelection {
public:
    virtual ~ReportsSelection() = default;

    // The 0-based position of the selected site in the Reports window's site list; no value
    // when no site is selected (then the DefaultSite setting is left as it is).
    virtual std::optional<int> selectedSitePosition() const = 0;

    // The chosen report kind: 1 "Report by download", 2 "Clocking list Report", 3 "Overview
    // Report"; no value when none of the three is chosen (DefaultReport is left as it is).
    virtual std::optional<int> selectedReportKind() const = 0;

    // Whether "Overview report night shift" is the chosen shift (false: the day shift).
    virtual bool nightShiftChosen() const = 0;
};

// The choices as the settings record stores them, for a program run in which the Reports
// window does not answer for itself: the settings writer then finds nothing to change.
// Holds a copy of the values, so it never refers to a record that has since been reloaded.
class StoredReportsSelection : public ReportsSelection {
public:
    explicit StoredReportsSelection(const Settings& settings);

    std::optional<int> selectedSitePosition() const override;
    std::optional<int> selectedReportKind() const override;
    bool nightShiftChosen() const override;

private:
    int defaultSite_;
    int defaultReport_;
    bool nightShift_;
};

} // namespace kestrova
