#include "link/StopWake.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace kestrova {

void StopWake::Signal::operator()() const {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t put = ::write(fd, &one, sizeof one);
}

StopWake::StopWake() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopWake::~StopWake() {
    if (fd_ >= 0)
        ::close(fd_);
}

void StopWake::consume() const {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(fd_, &count, sizeof count);
}

bool StopWake::sleepFor(const LinkClock& clock, std::uint64_t deadlineMs, std::uint64_t ms) const {
    const std::uint64_t now = clock.nowMs();
    if (ms == 0 || now >= deadlineMs)
        return false;
    pollfd wake{fd_, POLLIN, 0};
    const int ready = ::poll(&wake, 1, static_cast<int>(std::min(deadlineMs - now, ms)));
    if (ready == 0 || (ready < 0 && errno == EINTR))
        return true; // the caller looks again at what has arrived
    if (wake.revents & POLLIN)
        consume();
    return false;
}

} // namespace kestrova
