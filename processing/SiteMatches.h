// Which sites hold a clocking's id: the question both passes over an upload ask once per
// clocking. The index answers it directly; the slot-by-slot scan of every block is kept to check
// the index against and to measure what the index saves. Standard library only.
#pragma once

#include "core/SiteIndex.h"

#include <string_view>
#include <vector>

namespace kestrova {

enum class SiteMatching { Indexed, SlotScan };

// The sites among the first `siteCount` whose block holds `id`, each once with the first slot
// that holds it, in site-position order. A block can hold an id twice (a list line of only the
// id is indexed, and the first report appends the id again as an unknown checkpoint); the site
// still received one clocking, so it reports and stores it once. `out` is replaced.
void findSiteMatches(const SiteIndex& index, std::size_t siteCount, std::string_view id,
                     SiteMatching matching, std::vector<SiteIndex::Occurrence>& out);

// What both passes make of a clocking line before they differ: a clocking of no site goes to the
// unknown bucket unless it is corrupt (then it is dropped); a corrupt clocking of some sites
// counts against them; any other clocking goes to its sites.
enum class ClockingClass { Unknown, CorruptOfNoSite, CorruptOfSites, OfSites };

// Classifies `line`; the sites that hold its id are left in `matches`.
ClockingClass classifyClocking(const SiteIndex& index, std::size_t siteCount, std::string_view line,
                               SiteMatching matching, std::vector<SiteIndex::Occurrence>& matches);

} // namespace kestrova
