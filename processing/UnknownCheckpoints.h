// What can be done with clockings whose id no site lists: place them in an existing site, in a
// new site, or ignore them. The unknown-checkpoint window (or the command line's option) makes
// the choice through an UnknownCheckpointChooser; the choices themselves, and their effect on the
// run's buckets, the site lists and the index, are here. Standard library only.
#pragma once

#include "core/ProgramContext.h"
#include "processing/Distribution.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

class UnknownCheckpointPlacement {
public:
    UnknownCheckpointPlacement(ProgramContext& context, Buckets& buckets);

    // The clockings waiting (unit records not counted) and their distinct ids, in upload
    // order.
    std::size_t clockingCount() const;
    std::vector<std::string> ids() const;

    // The names the window offers, in site-position order.
    std::vector<std::string> siteNames() const;
    const SiteList& sites() const { return context_.sites; }

    // "Place in existing site": the clockings go after the chosen site's own. Without a chosen
    // site, messages 32 to 34 are shown and false is returned (the window stays open).
    bool placeInExistingSite(std::optional<std::size_t> position);

    // "Place unknown checkpoints in new site": asks for the name (messages 2 and 3). False when
    // the answer is empty or cancelled, or the site cannot be created (message 20 and the name);
    // the window then stays open.
    bool placeInNewSite();
    // The same with a name already given. The new site takes the last site position, and the
    // waiting clockings become its clockings.
    bool placeInNewSite(const std::string& name);

    // "Ignore unknown checkpoints" (also closing the window): the clockings are reported
    // nowhere.
    void ignore();

    // The site that received the clockings, and the clockings themselves (unit records
    // included), once they were placed.
    std::optional<std::size_t> placedPosition() const { return placedPosition_; }
    const Lines& placedClockings() const { return placed_; }

private:
    ProgramContext& context_;
    Buckets& buckets_;
    std::optional<std::size_t> placedPosition_;
    Lines placed_;
};

// The modal window's part: returns once the user has made a choice that closes the window.
class UnknownCheckpointChooser {
public:
    virtual ~UnknownCheckpointChooser() = default;
    virtual void choose(UnknownCheckpointPlacement& placement) = 0;
};

} // namespace kestrova
