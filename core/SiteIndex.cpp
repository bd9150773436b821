#include "core/SiteIndex.h"

#include <algorithm>

namespace kestrova {

namespace {
bool validPosition(int position) {
    return position >= 0 && position < SiteIndex::kBlocks;
}

bool scanOrder(const SiteIndex::Occurrence& a, const SiteIndex::Occurrence& b) {
    return a.position != b.position ? a.position < b.position : a.slot < b.slot;
}
} // namespace

void SiteIndex::clear() {
    for (auto& block : blocks_)
        block.clear();
    lookup_.clear();
}

std::size_t SiteIndex::setBlock(int position, const std::vector<std::string>& ids) {
    if (!validPosition(position))
        return ids.size();
    auto& block = blocks_[static_cast<std::size_t>(position)];
    for (const auto& id : block) {
        auto found = lookup_.find(id);
        if (found == lookup_.end())
            continue;
        auto& list = found->second;
        std::erase_if(list, [position](const Occurrence& o) { return o.position == position; });
        if (list.empty())
            lookup_.erase(found);
    }

    // A list that itself holds the end marker as an id ends there, as every scan stops at it.
    const auto marker = std::find(ids.begin(), ids.end(), kEndMarker);
    const auto usable = static_cast<std::size_t>(marker - ids.begin());
    const std::size_t kept = std::min(usable, static_cast<std::size_t>(kMaxIds));
    block.assign(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(kept));
    for (std::size_t i = 0; i < block.size(); ++i) {
        auto& list = lookup_[block[i]];
        const Occurrence occurrence{position, static_cast<int>(i) + 1};
        list.insert(std::upper_bound(list.begin(), list.end(), occurrence, scanOrder), occurrence);
    }
    return ids.size() - kept;
}

const std::vector<std::string>& SiteIndex::block(int position) const {
    static const std::vector<std::string> empty;
    return validPosition(position) ? blocks_[static_cast<std::size_t>(position)] : empty;
}

std::vector<int> SiteIndex::SiteIdsMatch(int position, std::string_view id) const {
    std::vector<int> slots;
    for (const auto& occurrence : occurrences(id)) {
        if (occurrence.position == position)
            slots.push_back(occurrence.slot);
    }
    return slots;
}

std::vector<int> SiteIndex::siteIdsMatchByScan(int position, std::string_view id) const {
    std::vector<int> slots;
    const auto& ids = block(position);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] == id)
            slots.push_back(static_cast<int>(i) + 1);
    }
    return slots;
}

const std::vector<SiteIndex::Occurrence>& SiteIndex::occurrences(std::string_view id) const {
    static const std::vector<Occurrence> none;
    const auto found = lookup_.find(std::string(id));
    return found == lookup_.end() ? none : found->second;
}

} // namespace kestrova
