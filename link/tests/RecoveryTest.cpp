// An upload cut short at every step of the chip cycle, then the same baton put back: every
// clocking that left the baton is processed exactly once, none is lost, and no processing runs
// on a file without clockings.
#include "link/tests/LinkHarness.h"

#include <gtest/gtest.h>
#include <set>

namespace kestrova {
namespace {

using testing::LinkHarness;

struct CutRow {
    const char* name;
    bool clearing;
    int command; // the baton's command at which it is taken off
    bool carriedOut;
    int refusedClearings = 0;
};

class RecoveryTest : public ::testing::TestWithParam<CutRow> {};

// Baton commands of this visit with clearing on: 1 Get Info, 2 Set Clock, 3 Get Size 14,
// 4 Set Pointer, 5-8 Read Next (header and three records), 9 Set End 14, 10 Get Size 12,
// 11 Set Pointer, 12-14 Read Next, 15 Set End 12. With clearing off there is no Set End:
// 9 Get Size 12, 10 Set Pointer, 11-13 Read Next.
TEST_P(RecoveryTest, EveryClockingThatLeftTheBatonIsProcessedOnce) {
    const CutRow& row = GetParam();
    LinkHarness h;
    h.settings.clearKestrovaMemory = row.clearing;
    sim::SimBaton baton;
    baton.clock = LocalDateTime{2025, 3, 14, 10, 0, 0, 0};
    for (int i = 0; i < 3; ++i)
        baton.addClocking(14, {0xA1, 0xB2, 0x0E, 0x03, 0x14, 0x09, static_cast<std::uint8_t>(i)});
    for (int i = 0; i < 2; ++i)
        baton.addClocking(12, {0xA1, 0xB2, 0x0C, 0x03, 0x14, 0x09, static_cast<std::uint8_t>(i)});
    baton.refuseSetEnd = row.refusedClearings;
    h.station.setFaults(
        {.removeBatonAtCommand = row.command, .carryOutBeforeRemoval = row.carriedOut});

    bool placed = false;
    bool putBack = false;
    std::optional<sim::SimBaton> after;
    const std::string complete = "Kestrova  -  " + h.messages.MessageText(114);
    h.state.subscribe([&](MainField field) {
        if (field == MainField::StationChecked && !placed) {
            placed = true;
            h.station.placeBaton(baton);
        } else if (field == MainField::StatusText && !putBack &&
                   h.state.statusText() == h.messages.MessageText(8)) {
            if (auto removed = h.station.takeRemovedBaton()) {
                putBack = true;
                h.station.placeBaton(*removed);
            }
        } else if (field == MainField::Caption && putBack && !after &&
                   h.state.caption() == complete) {
            after = h.station.takeBatonOff();
            h.stop.request_stop();
        }
    });
    h.run(300'000);
    ASSERT_TRUE(putBack) << "the cut did not happen";
    ASSERT_TRUE(after) << "the second visit did not end: " << h.state.statusText();

    std::multiset<std::string> processed;
    for (const Lines& file : h.processor.seen) {
        EXPECT_GT(file.size(), 1U) << "processing ran on a file without clockings";
        for (std::size_t i = 1; i < file.size(); ++i)
            if (file[i] != "Done")
                processed.insert(file[i].substr(0, 22));
    }
    std::multiset<std::string> expected;
    for (const int chip : {14, 12})
        for (const RecordData& data : baton.clockings(chip))
            expected.insert(clockingLine(data, 1, h.wall.now()).substr(0, 22));
    EXPECT_EQ(expected, processed);
    const std::size_t left = after->clockings(14).size() + after->clockings(12).size();
    EXPECT_EQ(row.clearing ? 0U : 5U, left);
}

INSTANTIATE_TEST_SUITE_P(
    CutShort, RecoveryTest,
    ::testing::Values(
        CutRow{"SizeOfFirstChip", true, 3, false}, CutRow{"PointerSet", true, 4, true},
        CutRow{"MidRecords", true, 6, true}, CutRow{"AfterLastRecord", true, 8, true},
        CutRow{"ClearNeverArrived", true, 9, false}, CutRow{"ClearedButStatusLost", true, 9, true},
        CutRow{"SizeOfSecondChip", true, 10, false}, CutRow{"SecondChipMidRecords", true, 13, true},
        CutRow{"SecondClearedButStatusLost", true, 15, true},
        // A refused clearing leaves the chip's records in the baton.
        CutRow{"FirstClearingRefusedThenCut", true, 13, true, 1},
        CutRow{"ClearingOffMidFirstChip", false, 6, true},
        CutRow{"ClearingOffAfterFirstChip", false, 9, false},
        CutRow{"ClearingOffMidSecondChip", false, 12, true}),
    [](const ::testing::TestParamInfo<CutRow>& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrova
