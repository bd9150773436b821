// The steady clock for the simulated station.
#include "sim/SimClock.h"

#include <chrono>
#include <thread>

namespace kestrova::sim {

std::int64_t SteadySimClock::nowNs() const {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SteadySimClock::sleepUntilNs(std::int64_t deadlineNs, std::stop_token stop) {
    const std::chrono::steady_clock::time_point until{std::chrono::nanoseconds(deadlineNs)};
    const auto now = std::chrono::steady_clock::now();
    if (now >= until || stop.stop_requested())
        return;
    // Most sleeps last until the next byte on the line, a character time or two; a plain sleep
    // costs the thread one system call where the wait below costs two, and a stop requested
    // meanwhile is seen at its end, a couple of milliseconds later at most.
    if (until - now <= std::chrono::milliseconds(2)) {
        std::this_thread::sleep_until(until);
        return;
    }
    // Registered before the lock is taken: a stop requested meanwhile runs the callback here.
    const std::stop_callback onStop(stop, [this] {
        const std::lock_guard guard(mutex_);
        wake_.notify_all();
    });
    std::unique_lock lock(mutex_);
    wake_.wait_until(lock, until, [&stop] { return stop.stop_requested(); });
}

} // namespace kestrova::sim
