// The scripted visit against the shared state, and the virtual clock shared between threads.
#include "sim/UploadScript.h"

#include "core/MainState.h"
#include "core/MessageTable.h"
#include "sim/SimClock.h"

#include <gtest/gtest.h>
#include <thread>

namespace kestrova::sim {
namespace {

// The comms thread may have found the station before the script listens: the baton must still
// be put down, or the visit never happens.
TEST(UploadScriptTest, PlacesTheBatonWhetherTheStationWasFoundBeforeOrAfterItListens) {
    for (const bool foundFirst : {false, true}) {
        SCOPED_TRACE(foundFirst ? "found before" : "found after");
        VirtualClock clock;
        SimStation station(clock);
        MainState state;
        MessageTable messages;
        messages.SetDefaultMessages();
        if (foundFirst)
            state.setStationChecked(true);
        const UploadScript script(state, station, messages, SimBaton{}, std::stop_source());
        if (!foundFirst)
            state.setStationChecked(true);
        EXPECT_TRUE(script.placed());
        EXPECT_TRUE(station.batonPresent());
    }
}

// The comms thread moves the virtual clock while another thread reads it (the command line
// schedules its time limit, a script reads the time): ThreadSanitizer watches this one.
TEST(VirtualClockTest, IsReadOnOneThreadWhileAnotherMovesIt) {
    VirtualClock clock;
    const std::int64_t start = clock.nowNs();
    std::jthread mover([&] {
        for (std::int64_t i = 1; i <= 20'000; ++i)
            clock.sleepUntilNs(start + i * 1000, {});
    });
    std::int64_t last = start;
    bool monotonic = true;
    for (int i = 0; i < 20'000; ++i) {
        const std::int64_t now = clock.nowNs();
        monotonic = monotonic && now >= last;
        last = now;
    }
    mover.join();
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(start + 20'000 * 1000, clock.nowNs());
    // A deadline in the past never moves it back.
    clock.sleepUntilNs(start, {});
    EXPECT_EQ(start + 20'000 * 1000, clock.nowNs());
}

} // namespace
} // namespace kestrova::sim
