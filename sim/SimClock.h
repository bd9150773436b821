// Time for the simulated station: virtual time that moves only when the comms thread waits
// (tests, benchmarks and the command line, where seconds of time-outs pass in microseconds and
// every run is the same), or the steady clock (the desktop program on a simulated port).
// Nanoseconds, so that the byte times of 9600 baud are kept exactly. Standard library only.
#pragma once

#include "link/SerialPort.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>

namespace kestrova::sim {

class SimClock : public LinkClock {
public:
    virtual std::int64_t nowNs() const = 0;
    virtual void sleepUntilNs(std::int64_t deadlineNs, std::stop_token stop) = 0;

    std::uint64_t nowMs() const override { return static_cast<std::uint64_t>(nowNs() / 1'000'000); }
    void sleepUntil(std::uint64_t deadlineMs, std::stop_token stop) override {
        sleepUntilNs(static_cast<std::int64_t>(deadlineMs) * 1'000'000, stop);
    }
};

// Starts at one second, so that no deadline of the session falls before zero. The comms thread
// moves it while others read it (a script, a time limit), so it is atomic and only moves on.
class VirtualClock : public SimClock {
public:
    std::int64_t nowNs() const override { return nowNs_.load(); }
    void sleepUntilNs(std::int64_t deadlineNs, std::stop_token) override {
        std::int64_t now = nowNs_.load();
        while (deadlineNs > now && !nowNs_.compare_exchange_weak(now, deadlineNs)) {
        }
    }

private:
    std::atomic<std::int64_t> nowNs_ = 1'000'000'000;
};

class SteadySimClock : public SimClock {
public:
    std::int64_t nowNs() const override;
    void sleepUntilNs(std::int64_t deadlineNs, std::stop_token stop) override;

private:
    // One wait shared by every sleeper, so that a sleep, which the comms thread makes for
    // nearly every byte event, allocates nothing; a stop wakes them all, and the others sleep on.
    std::mutex mutex_;
    std::condition_variable wake_;
};

} // namespace kestrova::sim
