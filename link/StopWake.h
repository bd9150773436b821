// What the real ports (the termios device and the network connection) share about waiting:
// an event that a stop request makes readable, so a poll on the line also ends when the comms
// thread is asked to stop, and the sleep through the rest of a reply that is still crossing
// the line. POSIX and the standard library only.
#pragma once

#include "link/SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stop_token>

namespace kestrova {

class StopWake {
public:
    // Makes the event readable; what a stop callback runs.
    struct Signal {
        int fd;
        void operator()() const;
    };
    // Signals the event for as long as it lives when the stop is requested.
    using Armed = std::stop_callback<Signal>;

    StopWake();
    ~StopWake();
    StopWake(const StopWake&) = delete;
    StopWake& operator=(const StopWake&) = delete;

    // -1 when no event could be made; the ports then wait on the clock alone.
    int fd() const { return fd_; }
    Armed arm(std::stop_token stop) const { return Armed(std::move(stop), Signal{fd_}); }
    // Takes the signal back, so the next wait does not end at once.
    void consume() const;

    // Once input has begun, the rest of what the caller needs cannot be here before it has
    // crossed the line: sleeps (on the stop's wake-up only) through all but the last of the
    // `bytes` expected, the caller then reads and waits for that byte on an empty queue, which
    // wakes it as the byte lands. `inputCount` says how many have arrived, or nothing once the
    // port has closed.
    template <typename InputCount>
    void paceRest(const LinkClock& clock, std::uint64_t deadlineMs, std::size_t bytes,
                  InputCount inputCount) const {
        for (;;) {
            const std::optional<std::size_t> have = inputCount();
            if (!have || *have + 1 >= bytes)
                return;
            const std::uint64_t restMs = (bytes - *have - 1) * kCharacterUs / 1000;
            if (!sleepFor(clock, deadlineMs, restMs))
                return;
        }
    }

private:
    // Sleeps `ms` but not past the deadline; false when there was nothing to sleep or a stop
    // ended it, true when the caller should look again.
    bool sleepFor(const LinkClock& clock, std::uint64_t deadlineMs, std::uint64_t ms) const;

    int fd_;
};

} // namespace kestrova
