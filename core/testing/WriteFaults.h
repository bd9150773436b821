// Runs an operation with its file writes stopped at one stage: the write made to fail there, or
// the process ended there as by a crash (in a forked child, so the test itself goes on). Stages
// are counted over every write of the operation in the order they happen (see WriteStage), so a
// test can stop the operation at each of them in turn and look at the files it leaves.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kestrova::testing {

// How many write stages a run of `operation` without faults passes.
int countWriteStages(const std::function<void()>& operation);

struct FailedRun {
    bool reached = false; // the operation came to the stage, and the write failed there
    std::string error;    // the general error message of what escaped the operation, if anything
};
// The write at stage `stage` (1-based) fails with an IoError naming its file.
FailedRun runFailingAtStage(int stage, const std::function<void()>& operation);

// Runs `operation` in a child process that ends at once at stage `stage`; true when the child
// got there. The files are then as a crash at that moment leaves them.
bool runKilledAtStage(int stage, const std::function<void()>& operation);

// Every file below `dir`, by relative path, with its bytes. The hidden temporary copies a
// replacement writes first are left out: a crash may leave one behind, and nothing reads them.
using FileSnapshot = std::map<std::string, std::string>;
FileSnapshot snapshotFiles(const std::filesystem::path& dir);

// How an operation was stopped, for the states its appended files may be in.
enum class StoppedBy { FailedWrite, Crash };

// The files of `now` that are neither as `before` nor as `after` the operation (a file that is
// missing counts as one of its states). Empty when every file is old or new, and whole. The
// files named in `appended` are appended to, one line at a time, so the operation may stop
// between two of its appends: for them the old bytes followed by whole appended lines pass too,
// and after a crash the last of those lines may be partly written.
std::vector<std::string> filesNeitherOldNorNew(const FileSnapshot& before,
                                               const FileSnapshot& after, const FileSnapshot& now,
                                               const std::set<std::string>& appended = {},
                                               StoppedBy stop = StoppedBy::FailedWrite);

} // namespace kestrova::testing
