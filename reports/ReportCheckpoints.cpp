// Checkpoints and checkpoint buckets of the reports. Standard library and core only.
#include "reports/ReportCheckpoints.h"

#include "core/CheckpointList.h"
#include "core/FileNames.h"

#include <unordered_map>

namespace kestrova {

namespace {
constexpr std::size_t kShortestCheckpointLine = 7;
constexpr std::size_t kNameColumn = 10;
constexpr std::size_t kShortestBucketLine = 13;
} // namespace

std::vector<ReportCheckpoint> readReportCheckpoints(const Lines& listLines) {
    std::vector<ReportCheckpoint> checkpoints;
    for (std::size_t i = 2; i < listLines.size(); ++i) {
        const std::string& line = listLines[i];
        if (line.size() < kShortestCheckpointLine)
            break;
        checkpoints.push_back(
            {line.substr(0, 6), line.size() >= kNameColumn ? line.substr(kNameColumn - 1) : ""});
    }
    return checkpoints;
}

std::vector<ReportCheckpoint> loadReportCheckpoints(const std::filesystem::path& programDir,
                                                    const std::string& site) {
    return readReportCheckpoints(readLines(checkpointListPath(programDir, site)));
}

bool sameCheckpointId(std::string_view a, std::string_view b) {
    return equalsIgnoreCase(a, b);
}

CheckpointBuckets::CheckpointBuckets(const std::vector<ReportCheckpoint>& checkpoints,
                                     const Lines& requestLines) {
    std::unordered_map<std::string, std::size_t> byId;
    owner_.resize(checkpoints.size());
    buckets_.resize(checkpoints.size());
    for (std::size_t k = 0; k < checkpoints.size(); ++k)
        owner_[k] = byId.try_emplace(toUpperAscii(checkpoints[k].id), k).first->second;
    std::string key;
    for (std::size_t i = 1; i < requestLines.size(); ++i) {
        const std::string& line = requestLines[i];
        if (line.size() < kShortestBucketLine)
            continue;
        key = toUpperAscii(std::string_view(line).substr(6, 6));
        const auto found = byId.find(key);
        if (found != byId.end())
            buckets_[found->second].push_back(line);
    }
}

} // namespace kestrova
