// A program directory with the shared state over the test desktop, and helpers that write a
// site's list in the editor's layout.
#pragma once

#include "core/CheckpointList.h"
#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/testing/FakeDesktop.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kestrova::testing {

class SitesFixture : public ::testing::Test {
protected:
    SitesFixture() : context(dir.path(), fake.desktop, "1") {
        context.messages.SetDefaultMessages();
    }

    // Creates the site directories and lists them as start-up does.
    void makeSites(const std::vector<std::string>& names) {
        for (const auto& name : names)
            std::filesystem::create_directories(dir / name / "Raw");
        context.sites.reset(names);
    }

    // A list of these ids named "Point 1", "Point 2", ..., with the given schedule values.
    void writeList(const std::string& site, const std::vector<std::string>& ids,
                   ScheduleValues schedule = defaultValues()) {
        std::vector<Checkpoint> checkpoints;
        for (std::size_t i = 0; i < ids.size(); ++i)
            checkpoints.push_back({ids[i], kOrdinaryMark, "Point " + std::to_string(i + 1)});
        SaveCheckpointList(dir.path(), site, checkpoints, schedule);
    }

    static ScheduleValues defaultValues() {
        ScheduleValues v;
        v.fill("01h00");
        v[kRoundTime] = "015";
        v[kRestTime] = "010";
        v[kNumBatons] = "1";
        v[kFailedPatrolType] = "0";
        return v;
    }

    std::string list(const std::string& site) const {
        return readFile(checkpointListPath(dir.path(), site));
    }
    std::string adminLog() const {
        const auto file = dir / "LG202403.txt";
        return std::filesystem::exists(file) ? readFile(file) : std::string();
    }

    TempDir dir;
    FakeDesktop fake;
    ProgramContext context;
    MainState state;
};

} // namespace kestrova::testing
