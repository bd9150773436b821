// The crash-safety check shared by the tests of every layer that writes files: an operation is
// stopped at each of its write stages in turn, once by a write that fails there and once by the
// process ending there; afterwards every file is as it was before the operation or as a clean
// run leaves it, never half written, and a failed write reached the caller as an error.
// Header-only, for GoogleTest executables.
#pragma once

#include "core/testing/FakeDesktop.h"
#include "core/testing/WriteFaults.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace kestrova::testing {

// `setup` fills a fresh directory; `operation` writes in it. `appended` names the files (relative
// paths) the operation appends lines to: a failed append is taken back whole, and a crash may
// leave the last line partly written, never more.
inline void expectEveryWriteStageLeavesOldOrNewFiles(
    const std::function<void(const std::filesystem::path&)>& setup,
    const std::function<void(const std::filesystem::path&)>& operation,
    const std::set<std::string>& appended = {}) {
    FileSnapshot before;
    FileSnapshot after;
    int stages = 0;
    {
        TempDir dir;
        setup(dir.path());
        before = snapshotFiles(dir.path());
        stages = countWriteStages([&] { operation(dir.path()); });
        after = snapshotFiles(dir.path());
    }
    ASSERT_GT(stages, 0) << "the operation wrote nothing";
    ASSERT_NE(before, after) << "the operation changed nothing";
    const std::vector<std::string> none;
    for (int stage = 1; stage <= stages; ++stage) {
        {
            TempDir dir;
            setup(dir.path());
            const FailedRun run = runFailingAtStage(stage, [&] { operation(dir.path()); });
            EXPECT_TRUE(run.reached) << "stage " << stage;
            EXPECT_NE(run.error, "")
                << "a write failing at stage " << stage << " did not reach the caller";
            EXPECT_EQ(filesNeitherOldNorNew(before, after, snapshotFiles(dir.path()), appended,
                                            StoppedBy::FailedWrite),
                      none)
                << "a write failing at stage " << stage;
        }
        {
            TempDir dir;
            setup(dir.path());
            EXPECT_TRUE(runKilledAtStage(stage, [&] { operation(dir.path()); }))
                << "stage " << stage;
            EXPECT_EQ(filesNeitherOldNorNew(before, after, snapshotFiles(dir.path()), appended,
                                            StoppedBy::Crash),
                      none)
                << "the process ended at stage " << stage;
        }
    }
}

} // namespace kestrova::testing
