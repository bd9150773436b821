// The simulated upload station, as a serial port the comms thread can open. It behaves as the
// program expects the device to: every byte the PC sends comes back while DTR is on; a baton
// put down is announced with 01 0D (again after every break while it sits there, since a break
// resets the station's link to the baton); the baton answers every command with its reply and
// check byte after a small latency; bytes move at the pace of 9600 baud 8N2 in each
// direction. Id buttons, voltage and charge reports and line noise can be sent at any time,
// and faults set up in advance. Standard library only.
#pragma once

#include "link/SerialPort.h"
#include "sim/SimBaton.h"
#include "sim/SimClock.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace kestrova::sim {

// One character of 8N2: start bit, eight data bits, two stop bits, at 9600 baud.
inline constexpr std::int64_t kByteNs = 11LL * 1'000'000'000 / 9600;
inline constexpr std::int64_t kDefaultLatencyNs = 200'000;

// Faults on request; counts start at 1, 0 means none.
struct StationFaults {
    int corruptReply = 0;            // this baton reply carries a wrong check byte
    std::int64_t dropByte = 0;       // this byte to the PC is lost
    std::int64_t extraAfterByte = 0; // a stray byte follows this byte to the PC
    std::uint8_t extraValue = 0x00;
    std::int64_t removeBatonAfterReplyBytes = 0; // the baton is taken off after these bytes
    std::int64_t failPortAfterBytes = 0;         // the port fails after these bytes to the PC
    // The baton is taken off as it receives this command (counted over the baton's commands):
    // before carrying it out, or after carrying it out but before its reply leaves.
    int removeBatonAtCommand = 0;
    bool carryOutBeforeRemoval = false;
};

enum class DeviceKind {
    Station,      // the upload station
    LoopbackPlug, // echoes every byte, whatever DTR does
    Silent,       // opens, but never answers
};

class SimStation : public SerialPort {
public:
    explicit SimStation(SimClock& clock, DeviceKind kind = DeviceKind::Station);

    // The device.
    void placeBaton(SimBaton baton);
    // The baton as it is now (its clock brought up to date); no value when none was there.
    std::optional<SimBaton> takeBatonOff();
    // The baton a fault took off, once; no value when none did.
    std::optional<SimBaton> takeRemovedBaton();
    bool batonPresent() const;
    std::optional<SimBaton> batonNow() const;
    void touchIdButton(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);
    void sendVoltage(std::uint8_t value);
    void sendCharge(std::uint8_t value);
    void injectNoise(const Bytes& bytes);
    void setFaults(const StationFaults& faults);
    void setLatencyNs(std::int64_t latency);
    // A failed port opens again after this.
    void repairPort();
    // Runs `action` once the clock reaches `atMs` (with the station's lock released).
    void at(std::uint64_t atMs, std::function<void()> action);

    // What the PC sent that the baton took as a command, in order, with check bytes.
    std::vector<Bytes> commands() const;
    std::int64_t bytesToPc() const;
    // When the latest byte reached the PC's input, in simulated time.
    std::int64_t lastByteToPcNs() const;

    // The port.
    void setPort(const std::string&) override {}
    bool open() override;
    void close() override;
    bool isOpen() const override;
    std::size_t inputCount() override;
    Bytes read(std::size_t n) override;
    std::size_t write(ByteView bytes) override;
    bool setDtr(bool on) override;
    bool setBreak(bool on) override;
    void waitForInput(std::uint64_t deadlineMs, std::size_t bytes, std::stop_token stop) override;

private:
    using Lock = std::unique_lock<std::mutex>;
    enum class EventKind {
        ToPc,    // a byte reaches the PC's input
        Station, // a byte reaches the station; what it causes reaches the PC a character later
        User,    // a caller's action, run without the lock
    };

    std::int64_t time() const;
    void schedule(std::int64_t at, EventKind kind, std::function<void()> event);
    // The earliest time at which `bytes` more may have reached the PC, or a caller's action is
    // due.
    std::int64_t nextInputPossibleNs(std::int64_t deadlineNs, std::size_t bytes) const;
    // Runs every event that is due; user actions run with the lock released.
    void catchUp(Lock& lock);
    void drain(Lock& lock);
    void toPc(const Bytes& bytes, std::int64_t earliest, bool fromBaton);
    void deliver(std::uint8_t byte, bool fromBaton, std::uint64_t generation);
    void stationReceives(std::uint8_t byte);
    void batonReceives(std::uint8_t byte);
    void command(const Bytes& frame);
    void reply(Bytes frame);
    void announce(std::int64_t delayNs);
    LocalDateTime batonClock() const;

    SimClock& clock_;
    const DeviceKind kind_;
    mutable std::mutex mutex_;
    struct Event {
        std::function<void()> run;
        EventKind kind = EventKind::ToPc;
    };
    std::multimap<std::int64_t, Event> events_;
    bool inEvent_ = false;
    std::int64_t eventTime_ = 0;

    bool open_ = false;
    bool failed_ = false;
    bool dtr_ = false;
    bool break_ = false;
    std::int64_t outboundFree_ = 0;
    std::int64_t inboundFree_ = 0;
    std::deque<std::uint8_t> input_;
    std::int64_t latencyNs_ = kDefaultLatencyNs;
    StationFaults faults_;
    std::int64_t deliveredBytes_ = 0;
    std::int64_t lastByteToPcNs_ = 0;
    std::int64_t deliveredReplyBytes_ = 0;
    int replies_ = 0;
    int batonCommands_ = 0;
    bool muted_ = false; // the baton's replies are lost
    std::optional<SimBaton> removedByFault_;

    std::optional<SimBaton> baton_;
    std::uint64_t generation_ = 0; // counts placements, so a removed baton's bytes are dropped
    std::int64_t clockBaseNs_ = 0;
    Bytes frame_; // command being received
    std::int64_t lastByteNs_ = 0;
    int chipPointer_ = 0;
    std::int64_t addressPointer_ = 0;
    std::vector<Bytes> commands_;
};

} // namespace kestrova::sim
