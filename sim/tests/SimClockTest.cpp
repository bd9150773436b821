// The steady clock of the simulated station: its sleeps end at their deadline or at their own
// stop, and a stop of one sleeper leaves the others asleep.
#include "sim/SimClock.h"

#include <gtest/gtest.h>
#include <thread>

namespace kestrova::sim {
namespace {

constexpr std::int64_t kMinuteNs = 60'000'000'000;

TEST(SteadySimClock, AStopEndsOnlyItsOwnSleeperAndTheOthersSleepToTheirDeadline) {
    SteadySimClock clock;
    const std::int64_t start = clock.nowNs();
    const std::int64_t otherDeadline = start + 300'000'000;
    std::stop_source stopped;
    std::int64_t stoppedWoke = 0;
    std::int64_t otherWoke = 0;
    std::thread stoppedSleeper([&] {
        clock.sleepUntilNs(start + kMinuteNs, stopped.get_token());
        stoppedWoke = clock.nowNs();
    });
    std::thread otherSleeper([&] {
        clock.sleepUntilNs(otherDeadline, std::stop_source().get_token());
        otherWoke = clock.nowNs();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    stopped.request_stop();
    stoppedSleeper.join();
    otherSleeper.join();
    EXPECT_LT(stoppedWoke, start + kMinuteNs / 2);
    EXPECT_GE(otherWoke, otherDeadline);
}

TEST(SteadySimClock, ASleepWithItsStopAlreadyRequestedDoesNotSleep) {
    SteadySimClock clock;
    std::stop_source stop;
    stop.request_stop();
    const std::int64_t start = clock.nowNs();
    clock.sleepUntilNs(start + kMinuteNs, stop.get_token());
    EXPECT_LT(clock.nowNs(), start + kMinuteNs / 2);
}

} // namespace
} // namespace kestrova::sim
