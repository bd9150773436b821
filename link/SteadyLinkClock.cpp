// The production link clock: std::chrono::steady_clock, with a sleep that a stop request ends.
#include "link/SerialPort.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kestrova {

std::uint64_t SteadyLinkClock::nowMs() const {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void SteadyLinkClock::sleepUntil(std::uint64_t deadlineMs, std::stop_token stop) {
    const std::uint64_t now = nowMs();
    if (now >= deadlineMs)
        return;
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, std::chrono::milliseconds(deadlineMs - now), [] { return false; });
}

} // namespace kestrova
