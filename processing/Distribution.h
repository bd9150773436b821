// The buckets of one run and the rule that picks a clocking's bucket: every site position has
// one, and one more after them holds the clockings of ids no site lists. Clockings of a common
// site's checkpoints go to the real site of the clocking before them; those at the start of an
// upload wait in the common site's bucket and move in front of the first real site's
// clockings. Standard library only.
#pragma once

#include "core/TextFile.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

// The buckets are held in memory for the length of a run: nothing outside the run reads them,
// and so an interrupted run cannot leave one behind.
class Buckets {
public:
    // One bucket per site and the unknown bucket after them.
    explicit Buckets(std::size_t siteCount) : buckets_(siteCount + 1) {}

    std::size_t siteCount() const { return buckets_.size() - 1; }

    Lines& at(std::size_t index) { return buckets_.at(index); }
    const Lines& at(std::size_t index) const { return buckets_.at(index); }
    Lines& unknown() { return buckets_.back(); }
    const Lines& unknown() const { return buckets_.back(); }
    // A clocking of no site, after its unit record (if any).
    void addUnknown(const std::string* unit, const std::string& line);

    // The unknown bucket becomes the bucket of a site appended at its position, and a new
    // unknown bucket follows it.
    void unknownBecomesSite() { buckets_.emplace_back(); }

private:
    std::vector<Lines> buckets_;
};

class Distribution {
public:
    // The sites in site-position order; those named "common" in any case are common sites.
    explicit Distribution(const std::vector<std::string>& sites);

    // The bucket that an occurrence of a clocking's id in site `position` goes to. A real site
    // that follows clockings waiting in a common site's bucket takes them over first.
    std::size_t target(std::size_t position, Buckets& buckets);

    // Appends the unit record (if any) and the clocking to the bucket of one occurrence.
    void place(std::size_t position, const std::string* unit, const std::string& line,
               Buckets& buckets);

private:
    std::vector<bool> common_;
    std::optional<std::size_t> lastRealSite_;
    bool pending_ = false;
};

} // namespace kestrova
