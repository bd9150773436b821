// The flag the two signals set.
#include "cli/StopSignals.h"

#include <atomic>
#include <csignal>

namespace kestrova::cli {

namespace {

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onStopSignal(int) {
    stopRequested.store(true);
}

void handle(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

} // namespace

StopSignals::StopSignals() {
    stopRequested.store(false);
    handle(SIGINT, onStopSignal);
    handle(SIGTERM, onStopSignal);
}

StopSignals::~StopSignals() {
    handle(SIGINT, SIG_DFL);
    handle(SIGTERM, SIG_DFL);
}

bool StopSignals::received() const {
    return stopRequested.load();
}

} // namespace kestrova::cli
