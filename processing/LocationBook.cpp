// Location lookup of the clocking reports. Standard library only.
#include "processing/LocationBook.h"

namespace kestrova {

namespace {
constexpr std::size_t kLongestSectionEnd = 9;
}

LocationList readLocationList(const Lines& lines) {
    LocationList list;
    for (std::size_t i = 2; i < lines.size() && lines[i].size() > kLongestSectionEnd; ++i) {
        const std::string& line = lines[i];
        list.entries.push_back({line.substr(0, 6), line.substr(9), line[7] == '#'});
    }
    return list;
}

LocationBook::LocationBook(LocationList site, std::optional<LocationList> common)
    : site_(std::move(site)), common_(std::move(common)) {
    index(site_.entries, siteLast_);
    if (common_)
        index(common_->entries, commonLast_);
}

void LocationBook::index(const std::vector<LocationEntry>& entries,
                         std::unordered_map<std::string, std::size_t>& last) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        last[entries[i].id] = i;
}

std::optional<Location> LocationBook::find(std::string_view id) const {
    const std::string key(id);
    if (const auto found = siteLast_.find(key); found != siteLast_.end()) {
        const auto& entry = site_.entries[found->second];
        return Location{entry.name, entry.separator};
    }
    if (common_) {
        if (const auto found = commonLast_.find(key); found != commonLast_.end()) {
            const auto& entry = common_->entries[found->second];
            return Location{entry.name, entry.separator};
        }
    }
    return std::nullopt;
}

std::size_t LocationBook::nextNumber() const {
    std::size_t looked = site_.entries.size();
    if (common_)
        looked += common_->entries.size();
    return looked + 1;
}

void LocationBook::addToSite(std::string id, std::string name) {
    siteLast_[id] = site_.entries.size();
    site_.entries.push_back({std::move(id), std::move(name), false});
}

} // namespace kestrova
