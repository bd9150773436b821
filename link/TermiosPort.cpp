// termios back end of the serial port.
#include "link/TermiosPort.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace kestrova {

namespace {

// The line settings as the port sets them: raw 9600 8N2, no flow control of either kind.
termios lineSettings(termios tio) {
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CRTSCTS | HUPCL);
    tio.c_cflag |= static_cast<tcflag_t>(CS8 | CSTOPB | CLOCAL | CREAD);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return tio;
}

// Whether the device holds what was asked of it, in the fields the link depends on.
bool settingsHold(const termios& wanted, const termios& got) {
    constexpr tcflag_t kControl = CSIZE | CSTOPB | PARENB | CRTSCTS | CLOCAL | CREAD;
    constexpr tcflag_t kInput = IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP;
    constexpr tcflag_t kLocal = ICANON | ECHO | ISIG | IEXTEN;
    return ::cfgetospeed(&got) == ::cfgetospeed(&wanted) &&
           ::cfgetispeed(&got) == ::cfgetispeed(&wanted) &&
           (got.c_cflag & kControl) == (wanted.c_cflag & kControl) &&
           (got.c_iflag & kInput) == (wanted.c_iflag & kInput) &&
           (got.c_lflag & kLocal) == (wanted.c_lflag & kLocal) && (got.c_oflag & OPOST) == 0 &&
           got.c_cc[VMIN] == 0 && got.c_cc[VTIME] == 0;
}

} // namespace

TermiosPort::TermiosPort(LinkClock& clock, TtyCalls& calls) : clock_(clock), calls_(calls) {}

TermiosPort::~TermiosPort() {
    close();
}

void TermiosPort::setPort(const std::string& name) {
    device_ = name;
}

bool TermiosPort::open() {
    close();
    if (device_.empty())
        return false;
    const int fd = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Ours alone: an flock that another holder makes fail, and TIOCEXCL against later opens.
    termios tio{};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0 ||
        calls_.getAttributes(fd, tio) != 0) {
        ::close(fd);
        return false;
    }
    const termios wanted = lineSettings(tio);
    termios got{};
    if (calls_.setAttributes(fd, wanted) != 0 || calls_.getAttributes(fd, got) != 0 ||
        !settingsHold(wanted, got)) {
        ::close(fd);
        return false;
    }
    // Nothing drives RTS; a device without modem lines (a pseudo-terminal) refuses, which
    // changes nothing.
    calls_.setModemLine(fd, TIOCM_RTS, false);
    // Whatever the device received before the open belongs to nobody.
    ::tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    return true;
}

void TermiosPort::close() {
    if (fd_ >= 0) {
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }
    fd_ = -1;
}

bool TermiosPort::isOpen() const {
    return fd_ >= 0;
}

void TermiosPort::lost() {
    close();
}

std::size_t TermiosPort::inputCount() {
    if (fd_ < 0)
        return 0;
    int count = 0;
    if (::ioctl(fd_, FIONREAD, &count) != 0) {
        lost();
        return 0;
    }
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

Bytes TermiosPort::read(std::size_t n) {
    Bytes bytes(n);
    if (fd_ < 0 || n == 0)
        return {};
    const ssize_t got = ::read(fd_, bytes.data(), n);
    if (got < 0) {
        if (errno != EAGAIN && errno != EINTR)
            lost();
        return {};
    }
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

std::size_t TermiosPort::write(ByteView bytes) {
    std::size_t done = 0;
    while (fd_ >= 0 && done < bytes.size()) {
        const ssize_t put = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd out{fd_, POLLOUT, 0};
            if (::poll(&out, 1, 1000) <= 0 || (out.revents & (POLLERR | POLLHUP | POLLNVAL)))
                lost();
            continue;
        }
        lost();
    }
    return done;
}

bool TermiosPort::drain() {
    if (fd_ < 0)
        return false;
    // A signal that interrupts the wait says nothing about the device: wait again.
    int result = 0;
    do
        result = calls_.drain(fd_);
    while (result != 0 && errno == EINTR);
    if (result != 0 && errno != EINVAL && errno != ENOTTY) {
        lost();
        return false;
    }
    return true;
}

bool TermiosPort::setDtr(bool on) {
    if (!drain())
        return false;
    return calls_.setModemLine(fd_, TIOCM_DTR, on) == 0;
}

bool TermiosPort::setBreak(bool on) {
    if (!drain())
        return false;
    return ::ioctl(fd_, on ? TIOCSBRK : TIOCCBRK) == 0;
}

void TermiosPort::paceRest(std::uint64_t deadlineMs, std::size_t bytes) {
    wake_.paceRest(clock_, deadlineMs, bytes, [this]() -> std::optional<std::size_t> {
        const std::size_t have = inputCount(); // closes the port when the line has failed
        return fd_ < 0 ? std::nullopt : std::optional(have);
    });
}

void TermiosPort::waitForInput(std::uint64_t deadlineMs, std::size_t bytes, std::stop_token stop) {
    if (fd_ < 0 || wake_.fd() < 0) {
        clock_.sleepUntil(deadlineMs, stop);
        return;
    }
    const StopWake::Armed onStop = wake_.arm(stop);
    while (!stop.stop_requested() && fd_ >= 0) {
        const std::uint64_t now = clock_.nowMs();
        if (now >= deadlineMs)
            return;
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_.fd(), POLLIN, 0}};
        const int ready =
            ::poll(fds, 2, static_cast<int>(std::min<std::uint64_t>(deadlineMs - now, 60000)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))) {
            lost();
            break;
        }
        if (fds[0].revents & POLLIN) {
            paceRest(deadlineMs, bytes);
            return;
        }
        if (fds[1].revents & POLLIN) {
            wake_.consume();
            return;
        }
    }
    if (!stop.stop_requested())
        clock_.sleepUntil(deadlineMs, stop);
}

} // namespace kestrova
