// The comms thread on a thread of its own, against the simulated station in virtual time.
#include "link/tests/LinkHarness.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

// Whoever is to end the run (a script, a time limit) takes the stop before the thread starts,
// so that nothing the thread does can happen before they listen.
TEST(CommsThreadTest, AStopTakenBeforeTheStartEndsTheRunningThread) {
    testing::LinkHarness h;
    TCommsThread comms(h.services(h.router));
    std::stop_source stop = comms.stopSource();
    bool found = false;
    h.state.subscribe([&](MainField field) {
        if (field == MainField::StationChecked && h.state.stationChecked()) {
            found = true;
            stop.request_stop();
        }
    });
    comms.start();
    for (int i = 0; i < 500 && comms.running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(comms.running());
    comms.stop();
    EXPECT_TRUE(found);
    EXPECT_FALSE(h.station.isOpen());
}

} // namespace
} // namespace kestrova
