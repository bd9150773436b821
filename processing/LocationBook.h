// The location names a clocking report prints: the site's checkpoint list first, then the list
// of the common site. A checkpoint list line is taken apart by columns:
//
//   A1B2C3 = Front gate       id 1-6, a space, mark 8 ("#" patrol separator), a space, name 10-
//
// Ids the lists do not name become unknown checkpoints of the site: they are added to the book,
// so that later clockings of the same id find them. Standard library only.
#pragma once

#include "core/TextFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrova {

struct LocationEntry {
    std::string id;
    std::string name;
    bool separator = false;
};

struct Location {
    std::string name;
    bool separator = false;
};

// One list's checkpoint section: lines 1 and 2 skipped, then lines longer than nine characters,
// taken apart by columns whatever stands in columns 7 and 9 (a TAB typed by hand, say).
struct LocationList {
    std::vector<LocationEntry> entries;
};
LocationList readLocationList(const Lines& lines);

class LocationBook {
public:
    LocationBook(LocationList site, std::optional<LocationList> common);

    // The name of the last entry of the site's list with this id, else of the common list's.
    std::optional<Location> find(std::string_view id) const;
    // The number an unknown checkpoint is named by: one more than the lines looked at.
    std::size_t nextNumber() const;
    void addToSite(std::string id, std::string name);

    const std::vector<LocationEntry>& siteEntries() const { return site_.entries; }
    const std::optional<LocationList>& common() const { return common_; }

private:
    static void index(const std::vector<LocationEntry>& entries,
                      std::unordered_map<std::string, std::size_t>& last);

    LocationList site_;
    std::optional<LocationList> common_;
    std::unordered_map<std::string, std::size_t> siteLast_;
    std::unordered_map<std::string, std::size_t> commonLast_;
};

} // namespace kestrova
