// Id numbers, the baton write and Id buttons, against the simulated station.
#include "link/tests/LinkHarness.h"
#include "sim/UploadScript.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using sim::SimBaton;
using testing::framesWithCode;
using testing::LinkHarness;

SimBaton baton(const std::string& name) {
    SimBaton b;
    b.name = name;
    b.clock = LocalDateTime{2025, 3, 14, 10, 0, 0, 0};
    b.addClocking(14, {0xA1, 0xB2, 0xC3, 0x03, 0x14, 0x09, 0x30});
    return b;
}

struct ProgrammingTest : ::testing::Test {
    std::optional<SimBaton> visit(SimBaton b) {
        sim::UploadScript script(h.state, h.station, h.messages, std::move(b), h.stop);
        h.run();
        EXPECT_TRUE(script.finished());
        return script.batonAfter();
    }
    LinkHarness h;
};

TEST_F(ProgrammingTest, AnIdIsSetThenTheBatonIsIdentifiedAgainAndDownloaded) {
    h.state.setIdToSet("0042");
    const auto after = visit(baton("KEST0001"));
    const auto setIds = framesWithCode(h.station, code::kSetId);
    ASSERT_EQ(1U, setIds.size());
    EXPECT_EQ(SetIdFrame("0042"), setIds[0]);
    EXPECT_EQ((Bytes{0x07, '0', '0', '4', '2'}), Bytes(setIds[0].begin(), setIds[0].end() - 1));
    EXPECT_EQ("", h.state.idToSet());
    EXPECT_EQ("Id : KEST0042", h.state.batonIdent());
    ASSERT_EQ(1U, h.processor.seen.size());
    EXPECT_EQ("Id : KEST0042", h.processor.seen[0][0]);
    ASSERT_TRUE(after);
    EXPECT_EQ("KEST0042", after->name);
}

// The user cancels the id (the window empties IdToSet) just as the session decides to send it:
// the frame carries the id the decision was made with, never an empty one filled with zeros.
TEST_F(ProgrammingTest, AnIdCancelledWhileItIsBeingSentNeverRenamesTheBatonZero) {
    h.state.setIdToSet("0042");
    h.state.subscribe([this](MainField field) {
        if (field == MainField::StatusText &&
            h.state.statusText() == h.messages.MessageText(15)) // "Setting Kestrova Id Number"
            h.state.setIdToSet("");
    });
    const auto after = visit(baton("KEST0001"));
    for (const Bytes& frame : framesWithCode(h.station, code::kSetId))
        EXPECT_EQ(SetIdFrame("0042"), frame);
    ASSERT_TRUE(after);
    EXPECT_NE("KEST0000", after->name);
}

TEST_F(ProgrammingTest, AutoIncrementGivesEachBatonTheNextNumber) {
    // "1000" confirmed with "~": the window sets the id and turns the auto-increment on.
    h.state.setIdFieldText("1000");
    h.state.setIdToSet("1000");
    h.state.setAutoIncrementId(true);
    sim::UploadScript first(h.state, h.station, h.messages, baton("KEST0001"), h.stop);
    std::stop_source secondStop;
    std::optional<sim::UploadScript> second;
    // The second baton goes down (its script puts it there, the station being found) once the
    // first has left and the session looks again.
    h.state.subscribe([&](MainField field) {
        if (field == MainField::StatusText && first.finished() && !second)
            second.emplace(h.state, h.station, h.messages, baton("KEST0002"), h.stop);
    });
    h.stop = secondStop;
    h.run();
    const auto setIds = framesWithCode(h.station, code::kSetId);
    ASSERT_GE(setIds.size(), 2U);
    EXPECT_EQ(SetIdFrame("1000"), setIds[0]);
    EXPECT_EQ(SetIdFrame("1001"), setIds[1]);
    // Back to the search after the second baton: 1002 is ready for the third.
    EXPECT_EQ("1002", h.state.idFieldText());
    EXPECT_EQ("1002", h.state.idToSet());
}

TEST_F(ProgrammingTest, ARefusedIdIsReportedDroppedAndTheBatonStillDownloaded) {
    SimBaton b = baton("KEST0001");
    b.refusesId = true;
    std::vector<std::string> statuses;
    h.state.subscribe([&](MainField field) {
        if (field == MainField::StatusText)
            statuses.push_back(h.state.statusText());
    });
    h.state.setIdToSet("0042");
    h.state.setAutoIncrementId(true);
    visit(b);
    EXPECT_NE(statuses.end(),
              std::find(statuses.begin(), statuses.end(), "Id number 0042 refused by the baton"));
    EXPECT_EQ("", h.state.idToSet());
    EXPECT_FALSE(h.state.autoIncrementId());
    EXPECT_EQ(1U, h.processor.seen.size());
}

TEST_F(ProgrammingTest, AStoreOfThreeRecordsIsWrittenAfterTheDownloadAndEndedAt32) {
    const std::vector<StoreRecord> store = {{0x12, 0x34, 0x56, 0x01, 0x45, 0x08, 0x30},
                                            {0x12, 0x34, 0x57, 0x01, 0x45, 0x09, 0x00},
                                            {0x12, 0x34, 0x58, 0x01, 0x45, 0x09, 0x30}};
    h.state.setWriteStore(store);
    h.settings.clearKestrovaMemory = false; // a pending write clears the chips anyway
    const auto after = visit(baton("KEST0001"));
    const auto writes = framesWithCode(h.station, code::kWriteRecord);
    ASSERT_EQ(3U, writes.size());
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(WriteRecordFrame(store[i]), writes[i]);
    const auto ends = framesWithCode(h.station, code::kSetEnd);
    ASSERT_FALSE(ends.empty());
    EXPECT_EQ((Bytes{0x11, 0x00, 0x00, 0x20}), Bytes(ends.back().begin(), ends.back().end() - 1));
    EXPECT_EQ(SetPointerFrame(0, 8), framesWithCode(h.station, code::kSetPointer).back());
    EXPECT_FALSE(h.state.writePending());
    EXPECT_EQ("Done", h.raw());
    ASSERT_TRUE(after);
    EXPECT_EQ(3U, after->clockings(0).size());
    EXPECT_TRUE(after->clockings(14).empty());
}

TEST_F(ProgrammingTest, IdButtonsAtTheStationReachTheEditorOneByOne) {
    h.stopWhen([this] { return h.idButtons.ids.size() >= 2; });
    h.state.subscribe([this](MainField field) {
        if (field == MainField::StationChecked) {
            h.station.touchIdButton(0xA1, 0xB2, 0xC3);
            h.station.touchIdButton(0x00, 0x00, 0x00);
            h.station.touchIdButton(0xD4, 0xE5, 0xF6);
        }
    });
    h.run(20'000);
    EXPECT_EQ((std::vector<std::string>{"A1B2C3", "D4E5F6"}), h.idButtons.ids);
    EXPECT_EQ(3, h.desktop.beeper.beeps);
}

TEST_F(ProgrammingTest, AnErrorEscapingTheSessionIsShownAndTheStationSoughtAgain) {
    // "Raw.txt" cannot be created: a directory stands in its place.
    std::filesystem::create_directory(h.dir / "Raw.Txt");
    std::vector<std::string> statuses;
    h.state.subscribe([&](MainField field) {
        if (field == MainField::StatusText)
            statuses.push_back(h.state.statusText());
    });
    h.state.subscribe([&](MainField field) {
        if (field == MainField::StationChecked && !h.station.batonPresent())
            h.station.placeBaton(baton("KEST0001"));
    });
    int searches = 0;
    h.state.subscribe([&](MainField field) {
        if (field == MainField::StatusText && h.state.statusText() == h.messages.MessageText(108) &&
            ++searches == 2)
            h.stop.request_stop();
    });
    h.run(60'000);
    const auto error = std::find_if(statuses.begin(), statuses.end(), [](const std::string& s) {
        return s.rfind("Baton link error: ", 0) == 0;
    });
    ASSERT_NE(statuses.end(), error);
    EXPECT_NE(statuses.end(), std::find(error, statuses.end(), h.messages.MessageText(108)));
}

} // namespace
} // namespace kestrova
