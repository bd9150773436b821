// The real serial port on Linux, over termios: 9600 baud 8N2 without flow control, the wait
// as poll() on the device and on an event that a stop request signals, FIONREAD for the input
// count, TIOCMBIS/TIOCMBIC for DTR and TIOCSBRK/TIOCCBRK for break. A device that fails (an
// unplugged adapter) is closed at once, so the session sees a closed port instead of a stream
// of errors, and its own restart reopens it; a call that a signal interrupts is made again.
// The device is held exclusively (TIOCEXCL and an flock), so that no other program (a modem
// manager probing a new adapter) writes into the conversation; RTS is lowered, since nothing
// drives it; the settings are read back after they are set, because tcsetattr reports success
// when the driver took any part of them. Standard library and POSIX only.
#pragma once

#include "link/SerialPort.h"
#include "link/StopWake.h"
#include "link/TtyCalls.h"

#include <string>

namespace kestrova {

class TermiosPort : public SerialPort {
public:
    explicit TermiosPort(LinkClock& clock, TtyCalls& calls = systemTtyCalls());
    ~TermiosPort() override;
    TermiosPort(const TermiosPort&) = delete;
    TermiosPort& operator=(const TermiosPort&) = delete;

    // Here the name is the device path.
    void setPort(const std::string& name) override;
    bool open() override;
    void close() override;
    bool isOpen() const override;
    std::size_t inputCount() override;
    Bytes read(std::size_t n) override;
    std::size_t write(ByteView bytes) override;
    bool setDtr(bool on) override;
    bool setBreak(bool on) override;
    void waitForInput(std::uint64_t deadlineMs, std::size_t bytes, std::stop_token stop) override;

private:
    void lost();
    void paceRest(std::uint64_t deadlineMs, std::size_t bytes);
    bool drain();

    LinkClock& clock_;
    TtyCalls& calls_;
    std::string device_;
    int fd_ = -1;
    StopWake wake_;
};

} // namespace kestrova
