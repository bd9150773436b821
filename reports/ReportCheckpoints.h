// The checkpoints of a site as the checkpoint sort and the overview read its list: two lines
// passed over, then every line longer than six characters up to the first line of six
// characters or fewer; id = characters 1-6, name = characters 10 to the end. And the buckets
// those readers regroup clockings into, one per checkpoint, held in memory for one request.
// Standard library and core only.
#pragma once

#include "core/TextFile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kestrova {

struct ReportCheckpoint {
    std::string id;
    std::string name;
};

std::vector<ReportCheckpoint> readReportCheckpoints(const Lines& listLines);
// The site's "checkpt.lst"; IoError when it cannot be read.
std::vector<ReportCheckpoint> loadReportCheckpoints(const std::filesystem::path& programDir,
                                                    const std::string& site);

// Ids compare without regard to case, as the bucket files they once were named.
bool sameCheckpointId(std::string_view a, std::string_view b);

// The clockings of a request file (its first line passed over) regrouped by checkpoint: every
// line longer than 12 characters goes to the bucket of its columns 7-12. Lines of ids the list
// does not hold are dropped: no reader asks for them.
class CheckpointBuckets {
public:
    CheckpointBuckets(const std::vector<ReportCheckpoint>& checkpoints, const Lines& requestLines);
    // The bucket of the k-th checkpoint (list order); a repeated id shares the first one's.
    const Lines& bucket(std::size_t k) const { return buckets_[owner_[k]]; }
    // Whether a later entry of the list repeats an earlier id (its bucket is taken once).
    bool isRepeat(std::size_t k) const { return owner_[k] != k; }

private:
    std::vector<Lines> buckets_;
    std::vector<std::size_t> owner_;
};

} // namespace kestrova
