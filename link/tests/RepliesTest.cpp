// The replies an agreeable baton never gives: the empty mark of a chip, refused Set Pointer,
// Write Record and Set End, a voltage report in the middle of a wait.
#include "link/tests/LinkHarness.h"
#include "sim/UploadScript.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using sim::SimBaton;
using testing::framesWithCode;
using testing::LinkHarness;

SimBaton batonWithRecords(int count) {
    SimBaton b;
    b.clock = LocalDateTime{2025, 3, 14, 10, 0, 0, 0};
    for (int i = 0; i < count; ++i)
        b.addClocking(14, {0xA1, 0xB2, 0xC3, 0x03, 0x14, 0x09, static_cast<std::uint8_t>(i)});
    return b;
}

struct RepliesTest : ::testing::Test {
    std::optional<SimBaton> visit(SimBaton b) {
        sim::UploadScript script(h.state, h.station, h.messages, std::move(b), h.stop);
        h.run(300'000);
        EXPECT_TRUE(script.finished()) << h.state.statusText();
        return script.batonAfter();
    }
    // Every processed clocking line, without the header and Done lines.
    std::vector<std::string> processed() const {
        std::vector<std::string> lines;
        for (const Lines& file : h.processor.seen)
            for (std::size_t i = 1; i < file.size(); ++i)
                if (file[i] != "Done")
                    lines.push_back(file[i]);
        return lines;
    }
    LinkHarness h;
};

TEST_F(RepliesTest, ChipsMarkedEmptyAreNotReadAndTheBatonShowsNoData) {
    SimBaton b = batonWithRecords(0);
    b.emptyMark = true;
    visit(b);
    EXPECT_EQ(8U, framesWithCode(h.station, code::kGetSize).size());
    EXPECT_TRUE(framesWithCode(h.station, code::kSetPointer).empty());
    EXPECT_TRUE(h.processor.seen.empty());
    EXPECT_TRUE(h.state.label(Label::NoData).visible);
}

TEST_F(RepliesTest, ARefusedSetPointerIsSentAgainAtOnce) {
    SimBaton b = batonWithRecords(3);
    b.refuseSetPointer = 1;
    const auto after = visit(b);
    const auto pointers = framesWithCode(h.station, code::kSetPointer);
    ASSERT_EQ(2U, pointers.size());
    EXPECT_EQ(pointers[0], pointers[1]);
    EXPECT_EQ(3U, processed().size());
    EXPECT_TRUE(after->clockings(14).empty());
}

// A refused Write Record counts as no reply: the session starts over and writes the store
// again from its first record; the baton ends up with each record once.
TEST_F(RepliesTest, ARefusedWriteIsMadeAgainFromTheFirstRecord) {
    const std::vector<StoreRecord> store = {{0x12, 0x34, 0x56, 0x01, 0x45, 0x08, 0x30},
                                            {0x12, 0x34, 0x57, 0x01, 0x45, 0x09, 0x00}};
    h.state.setWriteStore(store);
    SimBaton b = batonWithRecords(0);
    b.refuseWriteRecord = 1;
    const auto after = visit(b);
    EXPECT_EQ(3U, framesWithCode(h.station, code::kWriteRecord).size());
    EXPECT_FALSE(h.state.writePending());
    ASSERT_TRUE(after);
    EXPECT_EQ(2U, after->clockings(0).size());
}

// A Set End that ends the written records and is refused leaves the records unended: the
// write is not done, stays pending and is made again.
TEST_F(RepliesTest, ARefusedEndOfAWriteKeepsTheWritePending) {
    h.state.setWriteStore({{0x12, 0x34, 0x56, 0x01, 0x45, 0x08, 0x30}});
    SimBaton b = batonWithRecords(0);
    b.refuseSetEnd = 1;
    const auto after = visit(b);
    EXPECT_EQ(2U, framesWithCode(h.station, code::kWriteRecord).size());
    EXPECT_FALSE(h.state.writePending());
    ASSERT_TRUE(after);
    EXPECT_EQ(1U, after->clockings(0).size());
    EXPECT_EQ("Done", h.raw());
}

// A refused clearing leaves the records in the baton: this upload processes them, as with the
// clearing off, and the baton gives them again next time.
TEST_F(RepliesTest, ARefusedClearingLeavesTheRecordsInTheBaton) {
    SimBaton b = batonWithRecords(3);
    b.refuseSetEnd = 1;
    const auto after = visit(b);
    EXPECT_EQ(3U, processed().size());
    ASSERT_TRUE(after);
    EXPECT_EQ(3U, after->clockings(14).size());
}

struct VoltageRow {
    const char* name;
    std::uint8_t before; // the command whose wait the report falls into
};

class VoltageDuringAWait : public RepliesTest, public ::testing::WithParamInterface<VoltageRow> {};

// A voltage report satisfies any wait (it sets RxOk); whatever the wait was for, the upload
// still ends with every clocking processed once.
TEST_P(VoltageDuringAWait, TheUploadStillEndsWithEveryClockingOnce) {
    SimBaton b = batonWithRecords(3);
    b.voltageBefore = GetParam().before;
    const auto after = visit(b);
    EXPECT_EQ(3U, processed().size());
    ASSERT_TRUE(after);
    EXPECT_TRUE(after->clockings(14).empty());
}

INSTANTIATE_TEST_SUITE_P(Replies, VoltageDuringAWait,
                         ::testing::Values(VoltageRow{"GetInfo", code::kGetInfo},
                                           VoltageRow{"SetClock", code::kSetClockBcd},
                                           VoltageRow{"GetSize", code::kGetSize},
                                           VoltageRow{"SetPointer", code::kSetPointer},
                                           VoltageRow{"ReadNext", code::kReadNext},
                                           VoltageRow{"SetEnd", code::kSetEnd}),
                         [](const ::testing::TestParamInfo<VoltageRow>& row) {
                             return std::string(row.param.name);
                         });

} // namespace
} // namespace kestrova
