// Serving the simulated station on a pseudo-terminal: one thread carries what the program
// writes to the station, one what the station sends back to the program.
#include "sim/PtyStation.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace kestrova::sim {

namespace {

constexpr std::int64_t kPlaceAfterNs = 1'000'000'000;

} // namespace

PtyStation::PtyStation(SimBaton baton) : baton_(std::move(baton)) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname(master_) == nullptr) {
        if (master_ >= 0)
            ::close(master_);
        throw std::runtime_error("no pseudo-terminal available");
    }
    device_ = ::ptsname(master_);
    // Raw in both directions until the program sets its own line settings on the slave.
    slaveKeeper_ = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveKeeper_ >= 0) {
        termios tio{};
        if (::tcgetattr(slaveKeeper_, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(slaveKeeper_, TCSANOW, &tio);
        }
    }
    station_.open();
    station_.setDtr(true); // no modem lines: the station always echoes
}

PtyStation::~PtyStation() {
    stop();
    if (slaveKeeper_ >= 0)
        ::close(slaveKeeper_);
    ::close(master_);
}

void PtyStation::start() {
    reader_ = std::jthread([this](std::stop_token stop) { fromProgram(stop); });
    writer_ = std::jthread([this](std::stop_token stop) { toProgram(stop); });
}

void PtyStation::stop() {
    for (std::jthread* thread : {&reader_, &writer_}) {
        if (thread->joinable()) {
            thread->request_stop();
            thread->join();
        }
    }
}

std::optional<SimBaton> PtyStation::takeBatonOff() {
    return station_.takeBatonOff();
}

void PtyStation::placeBaton(SimBaton baton) {
    station_.placeBaton(std::move(baton));
}

// The station check ends with Get Info (01 5E); the program then looks for a baton, and the
// baton goes down a moment later so that its announcement meets the search.
void PtyStation::fromProgram(std::stop_token stop) {
    std::uint8_t previous = 0;
    while (!stop.stop_requested()) {
        pollfd p{master_, POLLIN, 0};
        const int ready = ::poll(&p, 1, 50);
        if (ready <= 0 || (p.revents & POLLIN) == 0) {
            if (ready > 0 && (p.revents & POLLHUP))
                ::usleep(20'000); // no program has the slave open
            continue;
        }
        std::uint8_t buffer[256];
        const ssize_t got = ::read(master_, buffer, sizeof buffer);
        if (got <= 0)
            continue;
        const ByteView bytes(buffer, static_cast<std::size_t>(got));
        station_.write(bytes);
        for (const std::uint8_t byte : bytes) {
            if (previous == code::kGetInfo && byte == 0x5E && !placing_.exchange(true)) {
                const auto at =
                    static_cast<std::uint64_t>((clock_.nowNs() + kPlaceAfterNs) / 1'000'000);
                station_.at(at, [this] { station_.placeBaton(baton_); });
            }
            previous = byte;
        }
    }
}

// The station's wait does not learn of bytes the other thread hands it meanwhile, so it waits
// a millisecond at a time (a character lasts 1.15 ms): its answers leave within a millisecond
// of their time on the line.
void PtyStation::toProgram(std::stop_token stop) {
    while (!stop.stop_requested()) {
        station_.waitForInput(clock_.nowMs() + 1, 1, stop);
        const std::size_t count = station_.inputCount();
        if (count == 0)
            continue;
        const Bytes bytes = station_.read(count);
        std::size_t done = 0;
        while (done < bytes.size() && !stop.stop_requested()) {
            const ssize_t put = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (put > 0)
                done += static_cast<std::size_t>(put);
            else if (put < 0 && errno != EAGAIN && errno != EINTR)
                break;
            else
                ::usleep(1000);
        }
    }
}

} // namespace kestrova::sim
