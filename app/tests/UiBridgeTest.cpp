// The bridge from the shared state to the window: however many changes arrive, from whichever
// thread, the window is updated once per turn of the event loop with every field that changed
// and the values as they stand; a bridge that has gone calls nothing.
#include "app/UiBridge.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace kestrova::app {
namespace {

struct Delivery {
    bool gauge;
    bool status;
    bool led;
    std::int64_t progress;
    std::string statusText;
};

class UiBridgeTest : public ::testing::Test {
protected:
    std::unique_ptr<UiBridge> bridge() {
        return std::make_unique<UiBridge>(state, [this](const FieldSet& changed) {
            deliveries.push_back(Delivery{
                changed.contains(MainField::Gauge), changed.contains(MainField::StatusText),
                changed.contains(MainField::Led), state.gauge().progress, state.statusText()});
        });
    }
    // A download's worth of changes, from the comms thread.
    void download(int bytes) {
        std::thread comms([&] {
            state.setGaugeMaximum(bytes);
            for (int k = 1; k <= bytes; ++k)
                state.setGaugeProgress(k);
            state.setStatusText("Downloading Data");
        });
        comms.join();
    }
    // One turn of the event loop: what is queued now runs, nothing more.
    static void oneTurn() { QCoreApplication::processEvents(); }

    MainState state;
    std::vector<Delivery> deliveries;
};

TEST_F(UiBridgeTest, ManyChangesReachTheWindowAsOneUpdatePerTurn) {
    const auto b = bridge();
    download(5000);
    EXPECT_TRUE(deliveries.empty()); // nothing before the loop turns
    oneTurn();
    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_TRUE(deliveries[0].gauge);
    EXPECT_TRUE(deliveries[0].status);
    EXPECT_FALSE(deliveries[0].led);
    EXPECT_EQ(deliveries[0].progress, 5000);
    EXPECT_EQ(deliveries[0].statusText, "Downloading Data");
    EXPECT_EQ(b->deliveries(), 1);

    oneTurn(); // nothing changed since: no update
    EXPECT_EQ(deliveries.size(), 1u);

    state.setLed(LedColour::Lime);
    download(300);
    oneTurn();
    ASSERT_EQ(deliveries.size(), 2u);
    EXPECT_TRUE(deliveries[1].led);
    EXPECT_EQ(deliveries[1].progress, 300);
}

TEST_F(UiBridgeTest, AnUpdateQueuedForAClosedWindowDoesNothing) {
    auto b = bridge();
    download(10);
    b.reset(); // the window closed with a delivery queued
    oneTurn();
    state.setStatusText("after");
    oneTurn();
    EXPECT_TRUE(deliveries.empty());
}

} // namespace
} // namespace kestrova::app
