// A programming made on another thread while the comms thread writes the previous one into a
// baton, against the simulated station.
#include "link/tests/LinkHarness.h"
#include "sim/UploadScript.h"

#include <gtest/gtest.h>
#include <thread>

namespace kestrova {
namespace {

using sim::SimBaton;
using testing::LinkHarness;

std::vector<StoreRecord> programming(std::uint8_t tag, std::size_t count) {
    std::vector<StoreRecord> records;
    for (std::size_t i = 0; i < count; ++i)
        records.push_back({tag, 0x00, static_cast<std::uint8_t>(i + 1), 0x04, 0x05, 0x06, 0x07});
    return records;
}

std::vector<RecordData> asData(const std::vector<StoreRecord>& records) {
    return {records.begin(), records.end()};
}

// The harness's port, with a look at every frame the session sends.
class WatchedPort : public SerialPort {
public:
    WatchedPort(SerialPort& port, std::function<void(ByteView)> watch)
        : port_(port), watch_(std::move(watch)) {}
    void setPort(const std::string& name) override { port_.setPort(name); }
    bool open() override { return port_.open(); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    std::size_t inputCount() override { return port_.inputCount(); }
    Bytes read(std::size_t n) override { return port_.read(n); }
    std::size_t write(ByteView bytes) override {
        const std::size_t written = port_.write(bytes);
        watch_(bytes);
        return written;
    }
    bool setDtr(bool on) override { return port_.setDtr(on); }
    bool setBreak(bool on) override { return port_.setBreak(on); }
    void waitForInput(std::uint64_t deadlineMs, std::size_t bytes, std::stop_token stop) override {
        port_.waitForInput(deadlineMs, bytes, stop);
    }

private:
    SerialPort& port_;
    std::function<void(ByteView)> watch_;
};

struct WriteStoreTest : ::testing::Test {
    std::optional<SimBaton> visit(SerialPort& port) {
        SimBaton b;
        b.clock = LocalDateTime{2025, 3, 14, 10, 0, 0, 0};
        sim::UploadScript script(h.state, h.station, h.messages, std::move(b), h.stop);
        h.run(port);
        EXPECT_TRUE(script.finished());
        return script.batonAfter();
    }
    LinkHarness h;
};

// The user-interface thread programs again while the comms thread is between the records of
// the earlier programming. The earlier one is written whole from its own copy; the newer one,
// still pending, then erases the baton that is still on the station and is written whole.
// The baton never holds records of both.
TEST_F(WriteStoreTest, ANewProgrammingDuringAWriteIsWrittenWholeAfterIt) {
    const auto first = programming(0xAA, 3);
    const auto second = programming(0xBB, 2);
    h.state.setWriteStore(first);
    bool programmedAgain = false;
    WatchedPort port(h.router, [&](ByteView frame) {
        if (programmedAgain || frame.empty() || frame[0] != code::kWriteRecord)
            return;
        // Record 1 is on its way to the baton; the session has still two to send.
        programmedAgain = true;
        std::thread ui([&] { h.state.setWriteStore(second); });
        ui.join();
    });
    const auto baton = visit(port);
    ASSERT_TRUE(programmedAgain);
    ASSERT_TRUE(baton);
    EXPECT_EQ(asData(second), baton->clockings(0));
    EXPECT_FALSE(h.state.writePending());
    std::vector<Bytes> expectedWrites;
    for (const auto& records : {first, second})
        for (const StoreRecord& record : records)
            expectedWrites.push_back(WriteRecordFrame(record));
    EXPECT_EQ(expectedWrites, testing::framesWithCode(h.station, code::kWriteRecord));
}

TEST_F(WriteStoreTest, TheStoreNeverHoldsMoreThanItsCapacity) {
    EXPECT_THROW(h.state.setWriteStore(programming(0x01, 111)), std::length_error);
    EXPECT_FALSE(h.state.writePending());
    h.state.setWriteStore(programming(0x01, 110));
    EXPECT_EQ(110, h.state.storeLen());
    EXPECT_FALSE(h.state.storeRecord(111));
}

} // namespace
} // namespace kestrova
