// The upload session against the simulated station, in virtual time.
#include "link/tests/LinkHarness.h"
#include "sim/UploadScript.h"

#include <gtest/gtest.h>
#include <set>

namespace kestrova {
namespace {

using sim::SimBaton;
using testing::framesWithCode;
using testing::LinkHarness;

RecordData record(std::uint8_t id3, std::uint8_t minute) {
    return {0xA1, 0xB2, id3, 0x03, 0x14, 0x09, minute};
}

SimBaton batonWith(const std::string& name, std::map<int, int> recordsPerChip) {
    SimBaton baton;
    baton.name = name;
    baton.clock = LocalDateTime{2025, 3, 14, 9, 0, 0, 0};
    for (const auto& [chip, count] : recordsPerChip)
        for (int i = 0; i < count; ++i)
            baton.addClocking(
                chip, record(static_cast<std::uint8_t>(chip), static_cast<std::uint8_t>(i % 60)));
    return baton;
}

struct SessionTest : ::testing::Test {
    // One visit: the baton is put down once the station is found, taken off once watched.
    void visit(SimBaton baton) {
        script.emplace(h.state, h.station, h.messages, std::move(baton), h.stop);
        statuses.clear();
        h.state.subscribe([this](MainField field) {
            if (field == MainField::StatusText)
                statuses.push_back(h.state.statusText());
        });
        h.run();
        ASSERT_TRUE(script->finished())
            << "the visit did not end; last status " << h.state.statusText();
    }
    LinkHarness h;
    std::optional<sim::UploadScript> script;
    std::vector<std::string> statuses;
};

TEST_F(SessionTest, UploadsEveryChipIntoOneFileClearsThemAndProcessesOnce) {
    ASSERT_NO_FATAL_FAILURE(visit(batonWith("KEST0001", {{14, 3}, {6, 2}})));

    ASSERT_EQ(1U, h.processor.seen.size());
    const Lines expected = {"Id : KEST0001",
                            "000000A1B20E2503140900"
                            "1",
                            "000000A1B20E2503140901"
                            "2",
                            "000000A1B20E2503140902"
                            "3",
                            "000000A1B2062503140900"
                            "1",
                            "000000A1B2062503140901"
                            "2"};
    EXPECT_EQ(expected, h.processor.seen[0]);
    const auto after = script->batonAfter();
    ASSERT_TRUE(after);
    for (int chip = 14; chip >= 0; chip -= 2)
        EXPECT_TRUE(after->clockings(chip).empty()) << "chip " << chip;
    // Only the chips with data are cleared, each with Set End to address 8.
    const auto ends = framesWithCode(h.station, code::kSetEnd);
    ASSERT_EQ(2U, ends.size());
    EXPECT_EQ(SetEndFrame(14, 8), ends[0]);
    EXPECT_EQ(SetEndFrame(6, 8), ends[1]);
    EXPECT_EQ("Id : KEST0001", h.state.batonIdent());
    EXPECT_EQ("2720", h.state.batonVersion());
    EXPECT_EQ("CommPort=1\r\n", testing::readFile(h.dir / "Kestrova.ini"));
    EXPECT_NE(statuses.end(), std::find(statuses.begin(), statuses.end(), "Downloading Data 8"));
    EXPECT_NE(statuses.end(), std::find(statuses.begin(), statuses.end(), "Clearing memory 4"));
}

TEST_F(SessionTest, SetsTheClockOfEachKindAndShowsItWhileWatching) {
    struct Row {
        std::string name;
        std::uint8_t setCode, readCode;
    };
    for (const Row& row : {Row{"KEST0001", code::kSetClockBcd, code::kReadClockBcd},
                           Row{"KesC0001", code::kSetClockSeconds, code::kReadClockSeconds}}) {
        SCOPED_TRACE(row.name);
        LinkHarness local;
        std::optional<sim::UploadScript> run;
        run.emplace(local.state, local.station, local.messages, batonWith(row.name, {{14, 1}}),
                    local.stop);
        local.run();
        ASSERT_TRUE(run->finished());
        const auto sets = framesWithCode(local.station, row.setCode);
        ASSERT_EQ(1U, sets.size());
        EXPECT_FALSE(framesWithCode(local.station, row.readCode).empty());
        // The baton now runs on the PC's time: the shown date is the PC's.
        EXPECT_EQ("Date : 14/03/2025", local.state.label(Label::Date).text);
        EXPECT_FALSE(local.state.label(Label::Extra).visible);
        ASSERT_TRUE(run->batonAfter() && run->batonAfter()->clock);
        const LocalDateTime pc = local.wall.now();
        EXPECT_EQ(pc.year, run->batonAfter()->clock->year);
        EXPECT_EQ(pc.hour, run->batonAfter()->clock->hour);
        EXPECT_EQ(pc.minute, run->batonAfter()->clock->minute);
    }
}

TEST_F(SessionTest, WithoutAutomaticTimeTheClockIsLeftAlone) {
    h.settings.updateDateTimeAutomatically = false;
    ASSERT_NO_FATAL_FAILURE(visit(batonWith("KEST0001", {{14, 1}})));
    EXPECT_TRUE(framesWithCode(h.station, code::kSetClockBcd).empty());
    EXPECT_EQ(LocalDateTime(2025, 3, 14, 9, 0, 0, 0).hour, script->batonAfter()->clock->hour);
    // An hour behind the PC: flagged.
    EXPECT_TRUE(h.state.label(Label::Extra).visible);
    EXPECT_EQ(TextColour::Red, h.state.label(Label::Time).colour);
}

TEST_F(SessionTest, AKestModelDownloadsOnlyChipsTwoAndZero) {
    ASSERT_NO_FATAL_FAILURE(visit(batonWith("Kest0001", {{14, 2}, {2, 1}, {0, 1}})));
    std::vector<std::uint8_t> chipsAsked;
    for (const Bytes& frame : framesWithCode(h.station, code::kGetSize))
        chipsAsked.push_back(frame[1]);
    EXPECT_EQ((std::vector<std::uint8_t>{2, 0}), chipsAsked);
    ASSERT_EQ(1U, h.processor.seen.size());
    EXPECT_EQ(3U, h.processor.seen[0].size());
    EXPECT_EQ(2U, script->batonAfter()->clockings(14).size()); // never read, never cleared
}

TEST_F(SessionTest, ABatonWithoutDataLeavesTheUploadFileAlone) {
    testing::writeFile(h.dir / "Raw.txt", "Id : OLD\r\nDone\r\n");
    ASSERT_NO_FATAL_FAILURE(visit(batonWith("KEST0001", {})));
    EXPECT_EQ("Id : OLD\r\nDone\r\n", h.raw());
    EXPECT_TRUE(h.processor.seen.empty());
    EXPECT_TRUE(h.state.label(Label::NoData).visible);
    EXPECT_EQ("No Data in Kestrova", h.state.label(Label::NoData).text);
}

TEST_F(SessionTest, WithoutUploadTheChipsAreClearedUnreadAndEachClearingIsLogged) {
    h.settings.uploadKestrovaData = false;
    ASSERT_NO_FATAL_FAILURE(visit(batonWith("KEST0001", {{14, 2}, {8, 1}})));
    EXPECT_FALSE(fileExists(rawUploadFile(h.dir.path())));
    EXPECT_TRUE(framesWithCode(h.station, code::kReadNext).empty());
    EXPECT_EQ(2U, framesWithCode(h.station, code::kSetEnd).size());
    const Lines log = readLines(h.adminLog.fileFor(h.wall.now()));
    ASSERT_EQ(2U, log.size());
    EXPECT_NE(std::string::npos, log[0].find("\"unknown\",\"Kestrova cleared without an "
                                             "uploaded Id : KEST0001\""));
}

TEST_F(SessionTest, ChipSizesAtTheEdges) {
    struct Row {
        const char* name;
        std::uint16_t reported;
        int records;
        std::size_t lines; // clocking lines written
    };
    for (const Row& row : {Row{"empty flag", 0x8010, 5, 0}, Row{"header only", 8, 5, 0},
                           Row{"one record", 16, 5, 1}, Row{"two records", 24, 5, 2}}) {
        SCOPED_TRACE(row.name);
        LinkHarness local;
        SimBaton baton = batonWith("KEST0001", {{14, row.records}});
        baton.reportedSize[14] = row.reported;
        std::optional<sim::UploadScript> run;
        run.emplace(local.state, local.station, local.messages, baton, local.stop);
        local.run();
        ASSERT_TRUE(run->finished());
        const std::size_t lines =
            local.processor.seen.empty() ? 0 : local.processor.seen[0].size() - 1;
        EXPECT_EQ(row.lines, lines);
        if (row.lines == 2) {
            EXPECT_EQ('1', local.processor.seen[0][1].back());
            EXPECT_EQ('2', local.processor.seen[0][2].back());
        }
    }
}

TEST_F(SessionTest, NoMoreThan32800BytesOfAChipAreRead) {
    SimBaton baton = batonWith("KEST0001", {{14, 4120}});
    baton.reportedSize[14] = 0xFFF0;
    ASSERT_NO_FATAL_FAILURE(visit(baton));
    ASSERT_EQ(1U, h.processor.seen.size());
    EXPECT_EQ(32800U / 8 - 1, h.processor.seen[0].size() - 1);
    // Packet numbers run modulo 100: the 100th line carries "0", the 101st "1".
    EXPECT_EQ("000000A1B20E2503140927"
              "0",
              h.processor.seen[0][100]);
    EXPECT_EQ("000000A1B20E2503140928"
              "1",
              h.processor.seen[0][101]);
}

TEST_F(SessionTest, AWrongCheckByteMidDownloadIsAskedForAgainAndWrittenOnce) {
    h.station.setFaults({.corruptReply = 12});
    ASSERT_NO_FATAL_FAILURE(visit(batonWith("KEST0001", {{14, 8}})));
    ASSERT_EQ(1U, h.processor.seen.size());
    const Lines& lines = h.processor.seen[0];
    ASSERT_EQ(9U, lines.size());
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(std::to_string(i), lines[i].substr(22)) << lines[i];
    EXPECT_EQ(2U, framesWithCode(h.station, code::kSetPointer).size());
    EXPECT_TRUE(script->batonAfter()->clockings(14).empty());
}

TEST_F(SessionTest, LineFaultsNeitherLoseNorDoubleAClocking) {
    struct Row {
        const char* name;
        sim::StationFaults faults;
    };
    const Row rows[] = {
        {"lost byte", {.dropByte = 120}},
        {"extra byte", {.extraAfterByte = 140, .extraValue = 0x0E}},
        {"stray filler", {.extraAfterByte = 90, .extraValue = 0x00}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LinkHarness local;
        local.station.setFaults(row.faults);
        std::optional<sim::UploadScript> run;
        const SimBaton baton = batonWith("KEST0001", {{14, 6}, {12, 4}});
        run.emplace(local.state, local.station, local.messages, baton, local.stop);
        local.run(300'000);
        // Every clocking was processed exactly once, over all the uploads the run needed.
        std::multiset<std::string> processed;
        for (const Lines& file : local.processor.seen)
            for (std::size_t i = 1; i < file.size(); ++i)
                if (file[i] != "Done")
                    processed.insert(file[i].substr(0, 22));
        std::multiset<std::string> expected;
        for (int chip : {14, 12})
            for (const RecordData& data : baton.clockings(chip))
                expected.insert(clockingLine(data, 1, local.wall.now()).substr(0, 22));
        EXPECT_EQ(expected, processed);
    }
}

TEST_F(SessionTest, SixTimeOutsAbandonAChipUnclearedAndTheRestGoesOn) {
    SimBaton baton = batonWith("KEST0001", {{14, 5}, {12, 2}});
    baton.unreadableFrom[14] = 3;
    ASSERT_NO_FATAL_FAILURE(visit(baton));
    ASSERT_EQ(1U, h.processor.seen.size());
    const Lines& lines = h.processor.seen[0];
    ASSERT_EQ(5U, lines.size());
    EXPECT_EQ("1", lines[1].substr(22));
    EXPECT_EQ("2", lines[2].substr(22));
    EXPECT_EQ("000000A1B20C", lines[3].substr(0, 12));
    // Six reads of chip 14, five of them re-requests from the record that did not come,
    // then chip 12.
    const auto pointers = framesWithCode(h.station, code::kSetPointer);
    ASSERT_EQ(7U, pointers.size());
    EXPECT_EQ(SetPointerFrame(14, 0), pointers[0]);
    for (std::size_t i = 1; i < 6; ++i)
        EXPECT_EQ(SetPointerFrame(14, 3 * 8), pointers[i]);
    EXPECT_EQ(SetPointerFrame(12, 0), pointers[6]);
    const auto ends = framesWithCode(h.station, code::kSetEnd);
    ASSERT_EQ(1U, ends.size());
    EXPECT_EQ(SetEndFrame(12, 8), ends[0]);
    EXPECT_EQ(5U, script->batonAfter()->clockings(14).size());
}

// A station may rely on the gaps between the bytes of a built frame: each goes out in a write
// call of its own. The fixed two-byte frames, the sync burst and the probe go out whole.
TEST_F(SessionTest, BuiltFramesGoOutOneByteAWriteAndFixedFramesWhole) {
    testing::WriteLog port(h.router);
    script.emplace(h.state, h.station, h.messages, batonWith("KEST0001", {{14, 2}}), h.stop);
    h.run(port);
    ASSERT_TRUE(script->finished());
    const std::set<Bytes> fixed = {GetInfoFrame(), ReadClockFrame(false), ReadClockFrame(true),
                                   ReadNextFrame()};
    std::set<std::uint8_t> singleByteCodes;
    for (const Bytes& write : port.writes) {
        const std::string text(write.begin(), write.end());
        if (fixed.count(write) || text == kProbeText || text == kSyncBurst)
            continue;
        EXPECT_EQ(1U, write.size()) << hexBytes(write);
        singleByteCodes.insert(write[0]);
    }
    // The frames the upload builds were all seen going out, a byte at a time.
    for (const std::uint8_t built :
         {code::kSetClockBcd, code::kGetSize, code::kSetPointer, code::kSetEnd})
        EXPECT_TRUE(singleByteCodes.count(built)) << hexByte(built);
}

// The station's port, noting for every Read Next the session sends how long after the latest
// byte from the station it left: the parser sends it as soon as the Set Pointer status or a
// record is complete.
class ReadNextTimer : public SerialPort {
public:
    ReadNextTimer(SerialPort& port, const sim::SimStation& station, const sim::SimClock& clock)
        : port_(port), station_(station), clock_(clock) {}
    std::vector<std::int64_t> gapsNs;

    void setPort(const std::string& name) override { port_.setPort(name); }
    bool open() override { return port_.open(); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    std::size_t inputCount() override { return port_.inputCount(); }
    Bytes read(std::size_t n) override { return port_.read(n); }
    std::size_t write(ByteView bytes) override {
        if (!bytes.empty() && bytes[0] == code::kReadNext)
            gapsNs.push_back(clock_.nowNs() - station_.lastByteToPcNs());
        return port_.write(bytes);
    }
    bool setDtr(bool on) override { return port_.setDtr(on); }
    bool setBreak(bool on) override { return port_.setBreak(on); }
    void waitForInput(std::uint64_t deadlineMs, std::size_t bytes, std::stop_token stop) override {
        port_.waitForInput(deadlineMs, bytes, stop);
    }

private:
    SerialPort& port_;
    const sim::SimStation& station_;
    const sim::SimClock& clock_;
};

// The waits sleep through the bytes a begun reply still misses; the parser must still act on
// every reply within a millisecond of its last byte: the records of a download, and the clock
// of a watched baton of either kind.
TEST(SessionWaitTest, TheParserActsOnAReplyWithinAMillisecondOfItsLastByte) {
    constexpr std::int64_t kMillisecondNs = 1'000'000;
    for (const std::string name : {"KEST0001", "KesC0001"}) {
        SCOPED_TRACE(name);
        LinkHarness local;
        ReadNextTimer port(local.router, local.station, local.clock);
        std::vector<std::int64_t> clockGapsNs;
        std::string shownTime = local.state.label(Label::Time).text;
        local.state.subscribe([&](MainField field) {
            if (field != MainField::Labels || local.state.label(Label::Time).text == shownTime)
                return;
            shownTime = local.state.label(Label::Time).text;
            clockGapsNs.push_back(local.clock.nowNs() - local.station.lastByteToPcNs());
        });
        local.station.at(5'000, [&] { local.station.placeBaton(batonWith(name, {{14, 3}})); });
        local.run(port, 20'000);

        ASSERT_EQ(1U, local.processor.seen.size()) << local.state.statusText();
        EXPECT_EQ(local.messages.MessageText(12), local.state.statusText());
        // The status of Set Pointer, the header record and the three clockings.
        ASSERT_GE(port.gapsNs.size(), 4U);
        for (const std::int64_t gap : port.gapsNs)
            EXPECT_LE(gap, kMillisecondNs);
        // A new time is shown every second of the ten or more that the baton is watched.
        ASSERT_GE(clockGapsNs.size(), 10U);
        for (const std::int64_t gap : clockGapsNs)
            EXPECT_LE(gap, kMillisecondNs);
    }
}

} // namespace
} // namespace kestrova
