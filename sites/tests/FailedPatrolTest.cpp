#include "sites/FailedPatrol.h"

#include "core/Errors.h"
#include "sites/tests/SitesFixture.h"

namespace kestrova {
namespace {

using testing::SitesFixture;

class FailedPatrolTest : public SitesFixture {
protected:
    FailedPatrolTest() { makeSites({"Gate"}); }

    static FailedPatrolRequest single(std::string round, std::string start, std::string finish) {
        return {"Gate", true, std::move(round), std::move(start), std::move(finish),
                "000",  "1",  "Single Baton"};
    }
    static FailedPatrolRequest multiple(std::string round, std::string rest, std::string batons) {
        return {"Gate",  false,           std::move(round),  "01h00",
                "01h00", std::move(rest), std::move(batons), "Multiple Baton"};
    }
    // How many records of the store carry each id, in store order.
    std::vector<std::pair<std::string, int>> runs() const {
        std::vector<std::pair<std::string, int>> out;
        for (std::int64_t i = 1; i <= state.storeLen(); ++i) {
            const StoreRecord r = *state.storeRecord(i);
            char id[7];
            std::snprintf(id, sizeof id, "%02X%02X%02X", r[0], r[1], r[2]);
            if (out.empty() || out.back().first != id)
                out.emplace_back(id, 0);
            ++out.back().second;
        }
        return out;
    }
};

TEST_F(FailedPatrolTest, SingleBatonCopiesCarryRoundStartAndFinish) {
    writeList("Gate", {"A1B2C3", "000001", "000002", "000003"});
    fake.clock.time = {2024, 3, 5, 14, 7, 9, 0};
    const auto result = ProgramFailedPatrol(context, state, single("045", "20h00", "06h00"));
    EXPECT_EQ(result.outcome, ProgramOutcome::Programmed);
    EXPECT_TRUE(state.writePending());
    using Run = std::pair<std::string, int>;
    EXPECT_EQ(runs(),
              (std::vector<Run>{{"A1B2C3", 3}, {"000001", 20}, {"000002", 6}, {"000003", 1}}));
    // Id bytes, then 4 April 2024 14:07: year remainder 0.
    EXPECT_EQ(*state.storeRecord(1), (StoreRecord{0xA1, 0xB2, 0xC3, 0x04, 0x04, 0x14, 0x07}));
    EXPECT_EQ(adminLog(), "\"2024/03/05 14:07.09\",\"Gate\",\"Programmed a failed patrol with the "
                          "following settings FPType:Single Baton RT:045 ST:20h00 FT:06h00 "
                          "TT:000 B:1\"\r\n");
}

TEST_F(FailedPatrolTest, MultipleBatonRestOfThreeGivesOneCopy) {
    writeList("Gate", {"000001", "000002", "000003"});
    ProgramFailedPatrol(context, state, multiple("015", "3", "4"));
    using Run = std::pair<std::string, int>;
    EXPECT_EQ(runs(), (std::vector<Run>{{"000001", 1}, {"000002", 1}, {"000003", 4}}));
    state.setWritePending(false);
    ProgramFailedPatrol(context, state, multiple("030", "020", "2"));
    EXPECT_EQ(runs(), (std::vector<Run>{{"000001", 2}, {"000002", 4}, {"000003", 2}}));
}

TEST_F(FailedPatrolTest, StampIsThirtyDaysAheadAcrossTheYear) {
    EXPECT_EQ(programmingStamp({2024, 12, 31, 23, 30, 0, 0}),
              (std::array<std::uint8_t, 4>{0x01, 0x70, 0x23, 0x30}));
    EXPECT_EQ(programmingStamp({2023, 2, 1, 0, 5, 0, 0}),
              (std::array<std::uint8_t, 4>{0x03, 0xC3, 0x00, 0x05})); // 3 March, 2023 % 4 = 3
}

TEST_F(FailedPatrolTest, RefusalsStoreNothing) {
    struct Case {
        const char* name;
        bool writeTheList;
        FailedPatrolRequest request;
        ProgramOutcome outcome;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"round not a multiple of 15", true, single("020", "01h00", "01h00"),
         ProgramOutcome::RoundTimeNotMultiple,
         "Round trip time must be in intervals of 15 minutes"},
        {"no list file", false, single("015", "01h00", "01h00"), ProgramOutcome::NoCheckpointList,
         "There are no checkpoints in the site \"Gate\""},
        {"more than the store holds", true, multiple("990", "300", "9"),
         ProgramOutcome::TooManyRecords,
         "The baton holds at most 110 programming records; this schedule needs 136. Nothing "
         "was programmed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir / "Gate" / "checkpt.lst");
        if (c.writeTheList)
            writeList("Gate", {"000001", "000002", "000003", "000004"});
        fake.dialogs.errors.clear();
        const auto result = ProgramFailedPatrol(context, state, c.request);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.closesWindow(), c.outcome != ProgramOutcome::RoundTimeNotMultiple);
        EXPECT_EQ(fake.dialogs.errors, std::vector<std::string>{c.error});
        EXPECT_FALSE(state.writePending());
        EXPECT_EQ(state.storeLen(), 0);
        EXPECT_EQ(adminLog(), "");
    }
}

TEST_F(FailedPatrolTest, ExactlyTheCapacityIsStored) {
    // 66 + 40 + 4 = 110 records.
    writeList("Gate", {"000001", "000002", "000003"});
    EXPECT_EQ(ProgramFailedPatrol(context, state, multiple("990", "200", "4")).outcome,
              ProgramOutcome::Programmed);
    EXPECT_EQ(state.storeLen(), 110);
}

TEST_F(FailedPatrolTest, UnconvertibleValuesAndIdsRaiseBeforeAnythingIsStored) {
    writeList("Gate", {"000001", "00000G"});
    EXPECT_THROW(ProgramFailedPatrol(context, state, single("015", "01h00", "01h00")),
                 ConversionError);
    writeList("Gate", {"000001"});
    EXPECT_THROW(ProgramFailedPatrol(context, state, single("015", "  h00", "01h00")),
                 ConversionError);
    EXPECT_THROW(ProgramFailedPatrol(context, state, multiple("1x5", "010", "1")), ConversionError);
    EXPECT_FALSE(state.writePending());
    EXPECT_EQ(adminLog(), "");
}

TEST_F(FailedPatrolTest, AShortRoundTimeIsTakenAs015) {
    writeList("Gate", {"000001"});
    const auto result = ProgramFailedPatrol(context, state, single("7", "01h00", "01h00"));
    EXPECT_EQ(result.roundTime, "015");
    EXPECT_EQ(result.outcome, ProgramOutcome::Programmed);
}

TEST_F(FailedPatrolTest, AnEmptyListProgramsZeroRecords) {
    writeList("Gate", {});
    ProgramFailedPatrol(context, state, single("015", "01h00", "01h00"));
    EXPECT_TRUE(state.writePending());
    EXPECT_EQ(state.storeLen(), 0);
}

TEST(FailedPatrolWindowTest, FieldsAreCorrectedOnLeaving) {
    struct Case {
        std::string (*correct)(const std::string&);
        std::string in, out;
    };
    const std::vector<Case> cases = {
        {roundTimeOnLeave, "7", "015"},
        {roundTimeOnLeave, "44", "030"},
        {roundTimeOnLeave, "015", "015"},
        {roundTimeOnLeave, "999", "990"},
        {patrolTimeOnLeave, "00h00", "24h00"},
        {patrolTimeOnLeave, "31h00", "24h00"},
        {patrolTimeOnLeave, "24h00", "24h00"},
        {patrolTimeOnLeave, "07h00", "07h00"},
        {restTimeOnLeave, "12", "010"},
        {restTimeOnLeave, "7", "010"},
        {restTimeOnLeave, "005", "010"},
        {restTimeOnLeave, "025", "025"},
        {restTimeOnLeave, "3", "000"},
        {batonsOnLeave, "0", "1"},
        {batonsOnLeave, "5", "5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.correct(c.in), c.out) << c.in;
}

} // namespace
} // namespace kestrova
