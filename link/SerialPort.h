// What the comms thread needs from a serial port and from time: the port operations it relies
// on, a monotonic millisecond clock, and waits that block (for input, or for a deadline)
// instead of spinning. The real port, the simulated station and the tests' ports implement
// them. Standard library only.
#pragma once

#include "link/Crc8.h"

#include <cstdint>
#include <stop_token>
#include <string>

namespace kestrova {

// The comms thread's monotonic clock. In production the steady clock; under simulation a
// virtual clock that only moves while the thread waits, so that runs are deterministic.
class LinkClock {
public:
    virtual ~LinkClock() = default;
    virtual std::uint64_t nowMs() const = 0;
    // Blocks until the clock has reached `deadlineMs` or a stop is requested.
    virtual void sleepUntil(std::uint64_t deadlineMs, std::stop_token stop) = 0;
};

// One character on the line at 9600 baud 8N2 (start bit, eight data bits, two stop bits), in
// microseconds, rounded down so that a wait counted in characters never outlasts them.
inline constexpr std::uint64_t kCharacterUs = 11 * 1'000'000 / 9600;

// The line settings are fixed: 9600 baud, 8 data bits, no parity, two stop bits, no flow
// control, DTR driven by the program.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Selects the device the next open uses ("COM" + number).
    virtual void setPort(const std::string& name) = 0;
    // False when the device cannot be opened; the port then stays closed. Input that was
    // waiting before the open is discarded.
    virtual bool open() = 0;
    virtual void close() = 0;
    // A port whose device was lost reports itself closed.
    virtual bool isOpen() const = 0;
    virtual std::size_t inputCount() = 0;
    // At most n waiting bytes; never waits.
    virtual Bytes read(std::size_t n) = 0;
    // Sends the bytes in order; returns how many were accepted.
    virtual std::size_t write(ByteView bytes) = 0;
    // Both wait until every written byte has left the port before they change the line.
    virtual bool setDtr(bool on) = 0;
    virtual bool setBreak(bool on) = 0;
    // Blocks until input is waiting, the link clock reaches `deadlineMs`, or a stop is
    // requested. A closed port only waits for the deadline. A caller that cannot act before
    // `bytes` bytes are waiting lets the port wait on while fewer of them can have crossed the
    // line, so that a frame costs a wake-up or two instead of one a byte; the port returns no
    // later than when that many are there.
    virtual void waitForInput(std::uint64_t deadlineMs, std::size_t bytes,
                              std::stop_token stop) = 0;
};

// The steady clock, for the real port.
class SteadyLinkClock : public LinkClock {
public:
    std::uint64_t nowMs() const override;
    void sleepUntil(std::uint64_t deadlineMs, std::stop_token stop) override;
};

} // namespace kestrova
