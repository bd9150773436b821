// Site matching by the index or by the scan. Standard library only.
#include "processing/SiteMatches.h"

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

} // namespace kestrova
