// The site checkpoint index: for each of 256 site positions, the ids of the site's checkpoint
// list in file order, ended by "zzzzzz". Upload processing asks it which sites, and which slots
// of them, hold a clocking's id. Standard library only.
//
// Capacity: a block has 256 slots, so a site indexes at most its first 255 ids; sites past
// position 255 are not indexed. Clockings of ids that are not indexed find no site.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrova {

inline constexpr std::string_view kEndMarker = "zzzzzz";

class SiteIndex {
public:
    static constexpr int kBlocks = 256;
    static constexpr int kSlots = 256;
    static constexpr int kMaxIds = kSlots - 1;

    struct Occurrence {
        int position; // site position
        int slot;     // 1-based slot in the site's block
        friend bool operator==(const Occurrence&, const Occurrence&) = default;
    };

    // Empties every block.
    void clear();
    // Stores a site's ids in slots 1, 2, … (ids past the capacity are left out). Returns how
    // many ids were left out.
    std::size_t setBlock(int position, const std::vector<std::string>& ids);
    // The ids of a block, before its end marker; empty for a block never loaded.
    const std::vector<std::string>& block(int position) const;

    // The 1-based slots of block `position` whose id equals `id` exactly, in slot order.
    std::vector<int> SiteIdsMatch(int position, std::string_view id) const;
    // The same by walking every slot of the block up to its end marker.
    std::vector<int> siteIdsMatchByScan(int position, std::string_view id) const;

    // Every (position, slot) holding `id`, in the order a scan of positions 0…255 and their slots
    // finds them.
    const std::vector<Occurrence>& occurrences(std::string_view id) const;
    // Whether any site holds `id`.
    bool contains(std::string_view id) const { return !occurrences(id).empty(); }

private:
    std::array<std::vector<std::string>, kBlocks> blocks_{};
    std::unordered_map<std::string, std::vector<Occurrence>> lookup_;
};

} // namespace kestrova
