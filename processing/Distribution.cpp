// The common-site rule of the distribution. Standard library only.
#include "processing/Distribution.h"

#include "core/SiteList.h"

namespace kestrova {

void Buckets::addUnknown(const std::string* unit, const std::string& line) {
    if (unit)
        unknown().push_back(*unit);
    unknown().push_back(line);
}

Distribution::Distribution(const std::vector<std::string>& sites) {
    common_.reserve(sites.size());
    for (const auto& site : sites)
        common_.push_back(isCommonSite(site));
}

std::size_t Distribution::target(std::size_t position, Buckets& buckets) {
    const bool common = position < common_.size() && common_[position];
    if (common) {
        if (!lastRealSite_) {
            lastRealSite_ = position;
            pending_ = true;
        }
        return *lastRealSite_;
    }
    if (pending_) {
        // Only clockings before the first real site wait, so this site's bucket is still
        // empty and the waiting ones simply come first.
        pending_ = false;
        Lines& waiting = buckets.at(*lastRealSite_);
        Lines& mine = buckets.at(position);
        mine.insert(mine.end(), std::make_move_iterator(waiting.begin()),
                    std::make_move_iterator(waiting.end()));
        waiting.clear();
    }
    lastRealSite_ = position;
    return position;
}

void Distribution::place(std::size_t position, const std::string* unit, const std::string& line,
                         Buckets& buckets) {
    Lines& bucket = buckets.at(target(position, buckets));
    if (unit)
        bucket.push_back(*unit);
    bucket.push_back(line);
}

} // namespace kestrova
