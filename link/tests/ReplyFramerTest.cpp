// The reply framer on byte arrays: what the front frame is, when it is complete, whether its
// check holds and how many bytes it takes; the buffer's limit and the announcement.
#include "link/ReplyFramer.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

Bytes cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

ReplyFramer fed(const Bytes& bytes) {
    ReplyFramer framer;
    for (const std::uint8_t b : bytes)
        framer.push(b);
    return framer;
}

const Bytes kInfo = withCheck({0x02, 0x27, 0x20, 'K', 'E', 'S', 'T', '0', '0', '0', '1'});
const Bytes kRecord = withCheck({0x0E, 0xA1, 0xB2, 0xC3, 0x03, 0x14, 0x09, 0x30, 0x5D});

Bytes spoilt(Bytes frame) {
    frame.back() = static_cast<std::uint8_t>(frame.back() ^ 0x01);
    return frame;
}

struct FrontRow {
    const char* name;
    Bytes bytes;
    bool known;
    bool complete;
    bool checkOk;
    std::size_t length; // checked only for complete frames
    std::size_t awaited;
};

class ReplyFramerFront : public ::testing::TestWithParam<FrontRow> {};

TEST_P(ReplyFramerFront, SaysWhatTheFrontFrameIs) {
    const FrontRow& row = GetParam();
    const ReplyFramer framer = fed(row.bytes);
    const auto reply = framer.front();
    ASSERT_TRUE(reply);
    EXPECT_EQ(row.bytes[0], reply->code);
    EXPECT_EQ(row.known, reply->row != nullptr);
    EXPECT_EQ(row.complete, reply->complete);
    EXPECT_EQ(row.checkOk, reply->checkOk);
    if (row.complete) {
        EXPECT_EQ(row.length, reply->length);
    }
    EXPECT_EQ(row.awaited, framer.awaited());
}

INSTANTIATE_TEST_SUITE_P(
    ReplyFramer, ReplyFramerFront,
    ::testing::Values(
        FrontRow{"InfoComplete", kInfo, true, true, true, 12, 0},
        FrontRow{"InfoOneShort", Bytes(kInfo.begin(), kInfo.end() - 1), true, false, false, 0, 1},
        FrontRow{"InfoBadCheck", spoilt(kInfo), true, true, false, 12, 0},
        FrontRow{"RecordThenMore", cat(kRecord, {0x0D}), true, true, true, 10, 0},
        FrontRow{"RecordBadCheck", spoilt(kRecord), true, true, false, 10, 0},
        FrontRow{"StatusAccepted", withCheck({0x0C, 0x01}), true, true, true, 3, 0},
        FrontRow{"StatusBeginning", {0x12}, true, false, false, 0, 2},
        // The echo of Read Next is dropped only once a byte of the next frame is there.
        FrontRow{"ReadNextEchoAlone", {0x0D, 0xFD}, true, false, false, 0, 1},
        FrontRow{"ReadNextEchoThenRecord", {0x0D, 0xFD, 0x0E}, true, true, true, 2, 0},
        FrontRow{"WriteRecordEchoTakesTen", cat(withCheck({0x0F, 1, 2, 3, 4, 5, 6, 7, 8}), {0x10}),
                 true, true, true, 10, 0},
        FrontRow{"VoltageHasNoCheck", {0x22, 0x99, 0x00}, true, true, true, 3, 0},
        FrontRow{"LoneSyncEcho", {0x55}, true, true, true, 1, 0},
        // Crc8 of 55 55 is 6C: two sync echoes and a third are never a calibration report.
        FrontRow{"SyncEchoes", {0x55, 0x55, 0x55}, true, true, true, 1, 0},
        FrontRow{"Calibration", withCheck({0x55, 0x42}), true, true, true, 3, 0},
        FrontRow{"FillerRunTakenWhole", {0xF0, 0xF0, 0xF0, 0x02}, true, true, true, 3, 0},
        FrontRow{"FillerWaitsForAFollower", {0xF0}, true, false, false, 0, 1},
        FrontRow{"Announcement", {0x01, 0x0D}, true, true, true, 2, 0},
        FrontRow{"UnknownCode", {0x77, 0x01}, false, true, false, 1, 0}),
    [](const ::testing::TestParamInfo<FrontRow>& row) { return std::string(row.param.name); });

TEST(ReplyFramerTest, HoldsAHundredBytesAndEmptiesItselfAtTheHundredAndFirst) {
    ReplyFramer framer;
    for (int i = 0; i < 100; ++i)
        EXPECT_TRUE(framer.push(0x02));
    EXPECT_EQ(100U, framer.size());
    EXPECT_FALSE(framer.push(0x02));
    EXPECT_TRUE(framer.empty());
    EXPECT_FALSE(framer.front());
}

TEST(ReplyFramerTest, FindsTheAnnouncementAcrossPushesAndAnywhereInTheBuffer) {
    ReplyFramer framer;
    framer.push(0x55);
    framer.push(0x01);
    EXPECT_FALSE(framer.endsWithAnnouncement());
    framer.push(0x0D); // the second byte arrives in a later read
    EXPECT_TRUE(framer.endsWithAnnouncement());
    framer.push(0x00);
    EXPECT_FALSE(framer.endsWithAnnouncement());
    EXPECT_TRUE(framer.holdsAnnouncement());
    framer.remove(2);
    EXPECT_FALSE(framer.holdsAnnouncement());
}

TEST(ReplyFramerTest, RemovingMoreThanItHoldsEmptiesIt) {
    ReplyFramer framer = fed({0x0C, 0x01, 0x5B, 0x0D});
    framer.remove(3);
    EXPECT_EQ((Bytes{0x0D}), Bytes(framer.bytes().begin(), framer.bytes().end()));
    framer.remove(5);
    EXPECT_TRUE(framer.empty());
}

// Typed access to the replies the session reads fields of.
TEST(ReplyFramerTest, GivesTheFieldsOfSizeAndRecordReplies) {
    // A reply views the framer's buffer, so each framer outlives the reply read from it.
    const ReplyFramer sizeFramer = fed(withCheck({0x0A, 0x80, 0x10}));
    const auto size = sizeFramer.front();
    ASSERT_TRUE(size && size->checkOk);
    EXPECT_EQ(0x8010, size->sizeValue());
    const ReplyFramer recordFramer = fed(kRecord);
    const auto record = recordFramer.front();
    ASSERT_TRUE(record && record->checkOk);
    EXPECT_EQ((RecordData{0xA1, 0xB2, 0xC3, 0x03, 0x14, 0x09, 0x30}), record->record());
    EXPECT_EQ(kRecord.back(), record->computedCheck());
}

} // namespace
} // namespace kestrova
