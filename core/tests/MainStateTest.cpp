#include "core/MainState.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(MainStateTest, AnnouncesChangesOnlyAndLetsListenersWriteBack) {
    MainState state;
    std::vector<MainField> seen;
    state.subscribe([&](MainField field) {
        seen.push_back(field);
        if (field == MainField::StatusText && state.statusText() == "a")
            state.setLed(LedColour::Lime); // from inside a notification
    });
    state.setStatusText("a");
    state.setStatusText("a"); // unchanged: no announcement
    state.setLabelText(Label::Id, "Id : X");
    EXPECT_EQ((std::vector<MainField>{MainField::StatusText, MainField::Led, MainField::Labels}),
              seen);
    EXPECT_EQ(LedColour::Lime, state.led());
    EXPECT_FALSE(state.label(Label::Extra).visible);
}

TEST(MainStateTest, TheWriteStoreHoldsAtMost110RecordsNumberedFromOne) {
    MainState state;
    state.setWriteStore({{1, 2, 3, 4, 5, 6, 7}, {8, 9, 10, 11, 12, 13, 14}});
    EXPECT_TRUE(state.writePending());
    EXPECT_EQ(2, state.storeLen());
    EXPECT_EQ((StoreRecord{8, 9, 10, 11, 12, 13, 14}), state.storeRecord(2));
    EXPECT_FALSE(state.storeRecord(0));
    EXPECT_FALSE(state.storeRecord(3));
    EXPECT_THROW(state.setWriteStore(std::vector<StoreRecord>(111)), std::length_error);
    EXPECT_EQ(2, state.storeLen());
}

} // namespace
} // namespace kestrova
