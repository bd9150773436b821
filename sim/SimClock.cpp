// The steady clock for the simulated station.
#include "sim/SimClock.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kestrova::sim {

std::int64_t SteadySimClock::nowNs() const {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SteadySimClock::sleepUntilNs(std::int64_t deadlineNs, std::stop_token stop) {
    const std::int64_t now = nowNs();
    if (deadlineNs <= now)
        return;
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, std::chrono::nanoseconds(deadlineNs - now), [] { return false; });
}

} // namespace kestrova::sim
