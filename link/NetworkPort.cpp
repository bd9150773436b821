// The network back end of the serial port: a TCP connection to a device server.
#include "link/NetworkPort.h"

#include <algorithm>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kestrova {

namespace {

using telnet::ComPortCommand;

// A connection on which nothing sent is acknowledged for this long counts as dropped, and an
// idle one is probed after a few seconds, so that a pulled network cable ends in a reconnection
// instead of a session talking to nobody.
constexpr unsigned kUnacknowledgedMs = 10'000;
constexpr int kKeepAliveIdleS = 5;
constexpr int kKeepAliveIntervalS = 2;
constexpr int kKeepAliveProbes = 3;
// Answers nobody waits for (to a break, to RTS) are kept only this deep.
constexpr std::size_t kKeptAnswers = 16;

int remainingMs(std::uint64_t now, std::uint64_t deadline) {
    return now >= deadline ? 0 : static_cast<int>(std::min<std::uint64_t>(deadline - now, 60000));
}

void setOption(int fd, int level, int name, int value) {
    ::setsockopt(fd, level, name, &value, sizeof value);
}

bool isDtrAnswer(const telnet::ComPortAnswer& answer) {
    return answer.command == static_cast<std::uint8_t>(ComPortCommand::SetControl) &&
           answer.value.size() == 1 &&
           (answer.value[0] == telnet::kControlDtrOn || answer.value[0] == telnet::kControlDtrOff);
}

} // namespace

std::optional<NetworkAddress> parseNetworkPort(const std::string& device) {
    if (device.compare(0, kNetworkPortScheme.size(), kNetworkPortScheme) != 0)
        return std::nullopt;
    const std::string rest = device.substr(kNetworkPortScheme.size());
    NetworkAddress address;
    std::size_t colon = 0;
    if (!rest.empty() && rest[0] == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
            return std::nullopt;
        address.host = rest.substr(1, close - 1);
        colon = close + 1;
    } else {
        colon = rest.rfind(':');
        if (colon == std::string::npos || rest.find(':') != colon)
            return std::nullopt;
        address.host = rest.substr(0, colon);
    }
    address.port = rest.substr(colon + 1);
    const bool digits = !address.port.empty() && address.port.size() <= 5 &&
                        std::all_of(address.port.begin(), address.port.end(),
                                    [](char c) { return c >= '0' && c <= '9'; });
    if (address.host.empty() || !digits || std::stoi(address.port) < 1 ||
        std::stoi(address.port) > 65535)
        return std::nullopt;
    return address;
}

NetworkPort::NetworkPort(LinkClock& clock) : clock_(clock) {}

NetworkPort::~NetworkPort() {
    close();
}

void NetworkPort::setPort(const std::string& name) {
    address_ = parseNetworkPort(name);
}

bool NetworkPort::open() {
    close();
    if (!address_)
        return false;
    const std::uint64_t deadline = clock_.nowMs() + kNetworkOpenMs;
    if (!connectTo(*address_, deadline) || !setUp(deadline)) {
        close();
        return false;
    }
    return true;
}

bool NetworkPort::connectTo(const NetworkAddress& address, std::uint64_t deadlineMs) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (::getaddrinfo(address.host.c_str(), address.port.c_str(), &hints, &found) != 0)
        return false;
    for (const addrinfo* at = found; at != nullptr && fd_ < 0; at = at->ai_next) {
        const int fd = ::socket(at->ai_family, at->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                                at->ai_protocol);
        if (fd < 0)
            continue;
        bool connected = ::connect(fd, at->ai_addr, at->ai_addrlen) == 0;
        if (!connected && errno == EINPROGRESS) {
            pollfd out{fd, POLLOUT, 0};
            int error = 0;
            socklen_t length = sizeof error;
            connected = ::poll(&out, 1, remainingMs(clock_.nowMs(), deadlineMs)) == 1 &&
                        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
        }
        if (connected)
            fd_ = fd;
        else
            ::close(fd);
    }
    ::freeaddrinfo(found);
    if (fd_ < 0)
        return false;
    // Each byte leaves when it is written: the station may rely on the gaps between them.
    setOption(fd_, IPPROTO_TCP, TCP_NODELAY, 1);
    setOption(fd_, IPPROTO_TCP, TCP_USER_TIMEOUT, static_cast<int>(kUnacknowledgedMs));
    setOption(fd_, SOL_SOCKET, SO_KEEPALIVE, 1);
    setOption(fd_, IPPROTO_TCP, TCP_KEEPIDLE, kKeepAliveIdleS);
    setOption(fd_, IPPROTO_TCP, TCP_KEEPINTVL, kKeepAliveIntervalS);
    setOption(fd_, IPPROTO_TCP, TCP_KEEPCNT, kKeepAliveProbes);
    return true;
}

// The negotiation, then the line settings once the server has taken the COM-PORT option. The
// purge goes last: what the server sent before its answer to it was there before the open.
bool NetworkPort::setUp(std::uint64_t deadlineMs) {
    if (!sendRaw(telnet::openingNegotiation()))
        return false;
    while (decoder_.comPort() == telnet::ComPortStatus::Asked)
        if (!awaitReadable(deadlineMs) || !pump())
            return false;
    if (decoder_.comPort() != telnet::ComPortStatus::Accepted)
        return false;

    telnet::LineConfirmation line;
    line.expect(ComPortCommand::SetBaudRate, {0x00, 0x00, 0x25, 0x80}); // 9600
    line.expect(ComPortCommand::SetDataSize, {8});
    line.expect(ComPortCommand::SetParity, {telnet::kParityNone});
    line.expect(ComPortCommand::SetStopSize, {telnet::kStopSizeTwo});
    line.expect(ComPortCommand::SetControl, {telnet::kControlNoFlowControl});
    line.expect(ComPortCommand::PurgeData, {telnet::kPurgeBoth});
    Bytes commands = line.commands();
    // Not waited for: a server in front of a device without modem lines does not answer them.
    for (const std::uint8_t control :
         {telnet::kControlInboundNoFlowControl, telnet::kControlRtsOff}) {
        const Bytes more = telnet::oneByteCommand(ComPortCommand::SetControl, control);
        commands.insert(commands.end(), more.begin(), more.end());
    }
    answers_.clear();
    purging_ = true;
    if (!sendRaw(commands))
        return false;
    for (;;) {
        for (const telnet::ComPortAnswer& answer : answers_)
            if (!line.take(answer))
                return false; // the server keeps other settings
        answers_.clear();
        if (line.complete())
            return true;
        if (!awaitReadable(deadlineMs) || !pump())
            return false;
    }
}

void NetworkPort::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    decoder_ = telnet::TelnetDecoder();
    input_.clear();
    answers_.clear();
    purging_ = false;
    dtrUnanswered_ = false;
}

bool NetworkPort::isOpen() const {
    return fd_ >= 0;
}

void NetworkPort::lost() {
    close();
}

bool NetworkPort::pump() {
    std::uint8_t buffer[4096];
    while (fd_ >= 0) {
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got == 0) { // the server closed the connection
            lost();
            return false;
        }
        if (got < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return true;
            lost();
            return false;
        }
        telnet::Decoded decoded = decoder_.feed(ByteView(buffer, static_cast<std::size_t>(got)));
        const std::size_t base = input_.size();
        input_.insert(input_.end(), decoded.data.begin(), decoded.data.end());
        for (telnet::ComPortAnswer& answer : decoded.answers) {
            if (purging_ &&
                answer.command == static_cast<std::uint8_t>(ComPortCommand::PurgeData)) {
                input_.erase(input_.begin(),
                             input_.begin() + static_cast<std::ptrdiff_t>(base + answer.at));
                purging_ = false;
            }
            answers_.push_back(std::move(answer));
        }
        if (purging_)
            input_.clear();
        if (answers_.size() > kKeptAnswers)
            answers_.erase(answers_.begin(),
                           answers_.end() - static_cast<std::ptrdiff_t>(kKeptAnswers));
        if (!decoded.reply.empty() && !sendRaw(decoded.reply))
            return false;
    }
    return false;
}

bool NetworkPort::awaitReadable(std::uint64_t deadlineMs) {
    for (;;) {
        const std::uint64_t now = clock_.nowMs();
        if (fd_ < 0 || now >= deadlineMs)
            return false;
        pollfd in{fd_, POLLIN, 0};
        const int ready = ::poll(&in, 1, remainingMs(now, deadlineMs));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return false;
        if (ready > 0)
            return true; // readable, or closed: the read that follows tells
    }
}

bool NetworkPort::sendRaw(const Bytes& bytes) {
    std::size_t done = 0;
    while (fd_ >= 0 && done < bytes.size()) {
        const ssize_t put =
            ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            pollfd out{fd_, POLLOUT, 0};
            if (::poll(&out, 1, 1000) <= 0 || (out.revents & (POLLERR | POLLHUP | POLLNVAL)))
                lost();
            continue;
        }
        lost();
    }
    return fd_ >= 0;
}

std::size_t NetworkPort::inputCount() {
    if (fd_ >= 0)
        pump();
    return input_.size();
}

Bytes NetworkPort::read(std::size_t n) {
    const std::size_t count = std::min(n, input_.size());
    Bytes bytes(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(count));
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(count));
    return bytes;
}

std::size_t NetworkPort::write(ByteView bytes) {
    if (fd_ < 0 || bytes.empty())
        return 0;
    return sendRaw(telnet::escapeData(bytes)) ? bytes.size() : 0;
}

std::optional<std::uint8_t> NetworkPort::awaitDtrAnswer(std::uint64_t deadlineMs) {
    for (;;) {
        const auto found = std::find_if(answers_.begin(), answers_.end(), isDtrAnswer);
        if (found != answers_.end()) {
            const std::uint8_t value = found->value[0];
            answers_.erase(answers_.begin(), found + 1);
            return value;
        }
        if (!awaitReadable(deadlineMs) || !pump())
            return std::nullopt;
    }
}

bool NetworkPort::setDtr(bool on) {
    if (fd_ < 0 || !pump())
        return false;
    // An answer left over from an earlier change must not count for this one.
    std::erase_if(answers_, isDtrAnswer);
    const std::uint8_t wanted = on ? telnet::kControlDtrOn : telnet::kControlDtrOff;
    if (!sendRaw(telnet::oneByteCommand(ComPortCommand::SetControl, wanted)) || dtrUnanswered_)
        return false;
    const auto answer = awaitDtrAnswer(clock_.nowMs() + kNetworkControlAnswerMs);
    if (!answer) {
        dtrUnanswered_ = fd_ >= 0;
        return false;
    }
    return *answer == wanted;
}

bool NetworkPort::setBreak(bool on) {
    if (fd_ < 0)
        return false;
    return sendRaw(telnet::oneByteCommand(ComPortCommand::SetControl,
                                          on ? telnet::kControlBreakOn : telnet::kControlBreakOff));
}

void NetworkPort::paceRest(std::uint64_t deadlineMs, std::size_t bytes) {
    wake_.paceRest(clock_, deadlineMs, bytes, [this]() -> std::optional<std::size_t> {
        const std::size_t have = inputCount(); // closes the port when the line has failed
        return fd_ < 0 ? std::nullopt : std::optional(have);
    });
}

void NetworkPort::waitForInput(std::uint64_t deadlineMs, std::size_t bytes, std::stop_token stop) {
    if (fd_ < 0 || wake_.fd() < 0) {
        clock_.sleepUntil(deadlineMs, stop);
        return;
    }
    const StopWake::Armed onStop = wake_.arm(stop);
    while (!stop.stop_requested() && pump()) {
        if (!input_.empty()) {
            paceRest(deadlineMs, bytes);
            return;
        }
        const std::uint64_t now = clock_.nowMs();
        if (now >= deadlineMs)
            return;
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_.fd(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, remainingMs(now, deadlineMs));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0) {
            lost();
            break;
        }
        if (fds[1].revents & POLLIN) {
            wake_.consume();
            return;
        }
        // Readable or closed: the next pump tells which.
    }
    if (!stop.stop_requested())
        clock_.sleepUntil(deadlineMs, stop);
}

} // namespace kestrova
