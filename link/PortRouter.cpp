// Forwarding the port operations to the back end of the selected device.
#include "link/PortRouter.h"

#include "link/NetworkPort.h"
#include "link/TermiosPort.h"

namespace kestrova {

PortRouter::PortRouter(PortDirectory directory, LinkClock& clock, SerialPort* simulator)
    : directory_(std::move(directory)), clock_(clock), simulator_(simulator),
      real_(std::make_unique<TermiosPort>(clock)), network_(std::make_unique<NetworkPort>(clock)) {}

PortRouter::~PortRouter() = default;

void PortRouter::setPort(const std::string& name) {
    close();
    device_ = directory_.deviceFor(name);
    if (device_.empty()) {
        current_ = nullptr;
    } else if (device_ == kSimulatorDevice) {
        current_ = simulator_;
    } else if (device_.starts_with(kNetworkPortScheme)) {
        current_ = network_.get();
        current_->setPort(device_);
    } else {
        current_ = real_.get();
        current_->setPort(device_);
    }
}

bool PortRouter::open() {
    return current_ != nullptr && current_->open();
}

void PortRouter::close() {
    if (current_ != nullptr)
        current_->close();
}

bool PortRouter::isOpen() const {
    return current_ != nullptr && current_->isOpen();
}

std::size_t PortRouter::inputCount() {
    return current_ ? current_->inputCount() : 0;
}

Bytes PortRouter::read(std::size_t n) {
    return current_ ? current_->read(n) : Bytes();
}

std::size_t PortRouter::write(ByteView bytes) {
    return current_ ? current_->write(bytes) : 0;
}

bool PortRouter::setDtr(bool on) {
    return current_ != nullptr && current_->setDtr(on);
}

bool PortRouter::setBreak(bool on) {
    return current_ != nullptr && current_->setBreak(on);
}

void PortRouter::waitForInput(std::uint64_t deadlineMs, std::size_t bytes, std::stop_token stop) {
    if (current_ != nullptr)
        current_->waitForInput(deadlineMs, bytes, stop);
    else
        clock_.sleepUntil(deadlineMs, stop);
}

} // namespace kestrova
