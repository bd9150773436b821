// The unknown-checkpoint window's logic: which choice enables the site list, and what its
// "&Ok " does with the choice made. The window only shows the state and passes the choice.
// Standard library only.
#pragma once

#include "processing/UnknownCheckpoints.h"

#include <cstddef>
#include <optional>

namespace kestrova {

enum class UnknownChoice {
    ExistingSite, // RadioButton1 "Place in existing site"
    NewSite,      // RadioButton2 "Place unknown checkpoints in new site"
    Ignore,       // RadioButton3 "Ignore unknown checkpoints"
};

// ComboBox1 is enabled exactly for the existing-site choice.
bool siteListEnabled(UnknownChoice choice);

// "&Ok ": carries out the choice; `selected` is the position of the chosen name in the site
// list, if any. Returns whether the window closes (false after messages 32 to 34, an empty
// or cancelled name, or a site that could not be created).
bool UnknownChoiceOk(UnknownCheckpointPlacement& placement, UnknownChoice choice,
                     std::optional<std::size_t> selected);

} // namespace kestrova
