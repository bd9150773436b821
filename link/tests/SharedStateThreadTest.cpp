// The main-window state as the comms thread and the user-interface thread share it: both
// threads on the same values at once. Without the state's lock these lose updates or read
// torn strings; ThreadSanitizer runs them in CI as well.
#include "core/MainState.h"

#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace kestrova {
namespace {

constexpr int kRounds = 100'000;

// The parser advances the gauge for every byte while the session raises its maximum.
TEST(SharedStateThreadTest, NoAdvanceOfTheGaugeIsLostBetweenTwoThreads) {
    MainState state;
    state.setGaugeMaximum(4 * kRounds);
    std::jthread other([&] {
        for (int i = 0; i < kRounds; ++i) {
            state.advanceGauge();
            state.addGaugeMaximum(1);
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        state.advanceGauge();
        state.addGaugeMaximum(1);
    }
    other.join();
    EXPECT_EQ(2 * kRounds, state.gauge().progress);
    EXPECT_EQ(6 * kRounds, state.gauge().maximum);
}

// The comms thread writes the status line and the baton's labels while the window reads them:
// every read is a whole value that was written, never a mixture.
TEST(SharedStateThreadTest, TextsAreReadWholeWhileAnotherThreadWritesThem) {
    MainState state;
    const std::string a(200, 'a');
    const std::string b(3, 'b');
    state.setStatusText(a);
    state.setLabelText(Label::Id, a);
    std::jthread writer([&](std::stop_token stop) {
        for (int i = 0; !stop.stop_requested(); ++i) {
            state.setStatusText(i % 2 ? a : b);
            state.setLabelText(Label::Id, i % 2 ? b : a);
        }
    });
    std::set<std::string> seen;
    for (int i = 0; i < kRounds / 4; ++i) {
        seen.insert(state.statusText());
        seen.insert(state.label(Label::Id).text);
    }
    writer.request_stop();
    writer.join();
    for (const std::string& text : seen)
        EXPECT_TRUE(text == a || text == b) << text.size() << " characters";
}

// The id window sets the id while the session reads and clears it: each read is an id that was
// set, or empty.
TEST(SharedStateThreadTest, TheIdToSetIsReadWholeWhileTheWindowChangesIt) {
    MainState state;
    std::jthread window([&](std::stop_token stop) {
        for (int i = 0; !stop.stop_requested(); ++i)
            state.setIdToSet(i % 2 ? "0042" : "");
    });
    int wrong = 0;
    for (int i = 0; i < kRounds / 4; ++i) {
        const std::string id = state.idToSet();
        wrong += id != "0042" && !id.empty();
        state.setIdToSet("");
    }
    window.request_stop();
    window.join();
    EXPECT_EQ(0, wrong);
}

} // namespace
} // namespace kestrova
