// Site matching by the index or by the scan. Standard library only.
#include "processing/SiteMatches.h"

#include "processing/UploadLine.h"

#include <algorithm>

namespace kestrova {

void findSiteMatches(const SiteIndex& index, std::size_t siteCount, std::string_view id,
                     SiteMatching matching, std::vector<SiteIndex::Occurrence>& out) {
    out.clear();
    const int positions =
        static_cast<int>(std::min(siteCount, static_cast<std::size_t>(SiteIndex::kBlocks)));
    if (matching == SiteMatching::Indexed) {
        // Occurrences come in scan order, so a site's later slots follow its first.
        for (const auto& occurrence : index.occurrences(id)) {
            if (occurrence.position < positions &&
                (out.empty() || out.back().position != occurrence.position))
                out.push_back(occurrence);
        }
        return;
    }
    for (int position = 0; position < positions; ++position) {
        const auto slots = index.siteIdsMatchByScan(position, id);
        if (!slots.empty())
            out.push_back({position, slots.front()});
    }
}

ClockingClass classifyClocking(const SiteIndex& index, std::size_t siteCount, std::string_view line,
                               SiteMatching matching, std::vector<SiteIndex::Occurrence>& matches) {
    if (const auto id = clockingId(line))
        findSiteMatches(index, siteCount, *id, matching, matches);
    else
        matches.clear();
    const bool corrupt = isCorruptRecord(line);
    if (matches.empty())
        return corrupt ? ClockingClass::CorruptOfNoSite : ClockingClass::Unknown;
    return corrupt ? ClockingClass::CorruptOfSites : ClockingClass::OfSites;
}

} // namespace kestrova
