// Which sites, and which slots of them, hold a clocking's id: the question both passes over an
// upload ask once per clocking. The index answers it directly; the slot-by-slot scan of every
// block is kept to check the index against and to measure what the index saves.
// Standard library only.
#pragma once

#include "core/SiteIndex.h"

#include <string_view>
#include <vector>

namespace kestrova {

enum class SiteMatching { Indexed, SlotScan };

// The (site position, slot) occurrences of `id` among the first `siteCount` sites, in the order
// a scan of the positions and their slots finds them. `out` is replaced.
void findSiteMatches(const SiteIndex& index, std::size_t siteCount, std::string_view id,
                     SiteMatching matching, std::vector<SiteIndex::Occurrence>& out);

} // namespace kestrova
