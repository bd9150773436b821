// The port the comms thread talks to: it takes the program's port names ("COM" + number),
// asks the port directory for the device, and forwards every operation to the back end for
// it: the simulated station for the device "simulator", the network port for a device
// "rfc2217://HOST:PORT", the termios port for any other.
// Standard library only (the termios back end is POSIX).
#pragma once

#include "link/PortDirectory.h"
#include "link/SerialPort.h"

#include <memory>

namespace kestrova {

class PortRouter : public SerialPort {
public:
    // `simulator` may be null when no simulated station exists; `clock` times the waits of a
    // port that names no device.
    PortRouter(PortDirectory directory, LinkClock& clock, SerialPort* simulator);
    ~PortRouter() override;

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

    // The device the current name resolved to.
    const std::string& device() const { return device_; }

private:
    PortDirectory directory_;
    LinkClock& clock_;
    SerialPort* simulator_;
    std::unique_ptr<SerialPort> real_;
    std::unique_ptr<SerialPort> network_;
    SerialPort* current_ = nullptr;
    std::string device_;
};

} // namespace kestrova
