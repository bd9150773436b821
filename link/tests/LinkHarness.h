// A program directory, the shared state and a simulated station on port 1, with the comms
// thread's body run on the test's own thread in virtual time.
#pragma once

#include "core/AdminLog.h"
#include "core/FileNames.h"
#include "core/MainState.h"
#include "core/MessageTable.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "link/CommsThread.h"
#include "link/PortRouter.h"
#include "link/UploadFile.h"
#include "sim/SimStation.h"
#include "sim/SimulatedWallClock.h"

#include <map>
#include <memory>
#include <vector>

namespace kestrova::testing {

// The commands the station received with this command code, in order.
inline std::vector<Bytes> framesWithCode(const sim::SimStation& station, std::uint8_t code) {
    std::vector<Bytes> frames;
    for (const Bytes& frame : station.commands())
        if (frame[0] == code)
            frames.push_back(frame);
    return frames;
}

// Records what processing saw and marks the file done, as processing does.
class RecordingProcessor : public RawProcessor {
public:
    explicit RecordingProcessor(std::filesystem::path dir) : dir_(std::move(dir)) {}
    void DoRaw() override {
        const auto file = rawUploadFile(dir_);
        seen.push_back(fileExists(file) ? readLines(file) : Lines());
        appendLine(file, "Done");
    }
    std::vector<Lines> seen;

private:
    std::filesystem::path dir_;
};

class RecordingIdButtons : public IdButtonSink {
public:
    void IdButtonRead(const std::string& id) override { ids.push_back(id); }
    std::vector<std::string> ids;
};

// Several devices on one virtual clock, by port name, for the station search.
class PortBank : public SerialPort {
public:
    explicit PortBank(LinkClock& clock) : clock_(clock) {}
    void add(const std::string& name, SerialPort& device) { devices_[name] = &device; }
    std::vector<std::string> opened; // every successful open, by name

    void setPort(const std::string& name) override {
        close();
        name_ = name;
        const auto found = devices_.find(name);
        current_ = found == devices_.end() ? nullptr : found->second;
    }
    bool open() override {
        const bool ok = current_ != nullptr && current_->open();
        if (ok)
            opened.push_back(name_);
        return ok;
    }
    void close() override {
        if (current_)
            current_->close();
    }
    bool isOpen() const override { return current_ && current_->isOpen(); }
    std::size_t inputCount() override { return current_ ? current_->inputCount() : 0; }
    Bytes read(std::size_t n) override { return current_ ? current_->read(n) : Bytes(); }
    std::size_t write(ByteView bytes) override { return current_ ? current_->write(bytes) : 0; }
    bool setDtr(bool on) override { return current_ && current_->setDtr(on); }
    bool setBreak(bool on) override { return current_ && current_->setBreak(on); }
    void waitForInput(std::uint64_t deadlineMs, std::size_t bytes, std::stop_token stop) override {
        if (current_)
            current_->waitForInput(deadlineMs, bytes, stop);
        else
            clock_.sleepUntil(deadlineMs, stop);
    }

private:
    LinkClock& clock_;
    std::map<std::string, SerialPort*> devices_;
    SerialPort* current_ = nullptr;
    std::string name_;
};

// A port in front of another that notes every write call the session makes, as it made it.
class WriteLog : public SerialPort {
public:
    explicit WriteLog(SerialPort& port) : port_(port) {}
    std::vector<Bytes> writes;

    void setPort(const std::string& name) override { port_.setPort(name); }
    bool open() override { return port_.open(); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    std::size_t inputCount() override { return port_.inputCount(); }
    Bytes read(std::size_t n) override { return port_.read(n); }
    std::size_t write(ByteView bytes) override {
        writes.emplace_back(bytes.begin(), bytes.end());
        return port_.write(bytes);
    }
    bool setDtr(bool on) override { return port_.setDtr(on); }
    bool setBreak(bool on) override { return port_.setBreak(on); }
    void waitForInput(std::uint64_t deadlineMs, std::size_t bytes, std::stop_token stop) override {
        port_.waitForInput(deadlineMs, bytes, stop);
    }

private:
    SerialPort& port_;
};

// A device that answers the probe with its own text in front, while DTR is on. Without modem
// lines (a pseudo-terminal, a network port) DTR cannot be set and it answers always.
class PrefixEchoDevice : public SerialPort {
public:
    explicit PrefixEchoDevice(std::string prefix, bool modemLines = true)
        : prefix_(std::move(prefix)), modemLines_(modemLines) {}
    void setPort(const std::string&) override {}
    bool open() override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    std::size_t inputCount() override { return input_.size(); }
    Bytes read(std::size_t n) override {
        Bytes out(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(n));
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(n));
        return out;
    }
    std::size_t write(ByteView bytes) override {
        if (dtr_) {
            input_.insert(input_.end(), prefix_.begin(), prefix_.end());
            input_.insert(input_.end(), bytes.begin(), bytes.end());
        }
        return bytes.size();
    }
    bool setDtr(bool on) override {
        if (modemLines_)
            dtr_ = on;
        return modemLines_;
    }
    bool setBreak(bool) override { return true; }
    void waitForInput(std::uint64_t, std::size_t, std::stop_token) override {}

private:
    std::string prefix_;
    bool modemLines_ = true;
    Bytes input_;
    bool open_ = false;
    bool dtr_ = true;
};

struct LinkHarness {
    LinkHarness() {
        messages.SetDefaultMessages();
        createEmptyFileIfMissing(dir / "Kestrova.ini");
    }

    // The services over the given port (port 1 = the station, by default).
    LinkServices services(SerialPort& port) {
        return LinkServices{dir.path(), "77",           port,         clock,
                            state,      messages,       settingsFile, [this] { return settings; },
                            wall,       desktop.beeper, ui,           processor,
                            adminLog,   idButtons};
    }

    // Runs the thread's body until a stop is requested, or `limitMs` of virtual time.
    void run(SerialPort& port, std::uint64_t limitMs = 120'000) {
        station.at(clock.nowMs() + limitMs, [this] { stop.request_stop(); });
        RunComms(services(port), stop.get_token());
    }
    void run(std::uint64_t limitMs = 120'000) { run(router, limitMs); }

    // Requests the stop the first time `when` holds after a change of the shared state.
    void stopWhen(std::function<bool()> when) {
        state.subscribe([this, when](MainField) {
            if (when())
                stop.request_stop();
        });
    }

    std::string raw() const { return readFile(rawUploadFile(dir.path())); }

    TempDir dir;
    FakeDesktop desktop;
    sim::VirtualClock clock;
    sim::SimulatedWallClock wall{clock, LocalDateTime{2025, 3, 14, 10, 0, 0, 0}};
    sim::SimStation station{clock};
    PortRouter router{PortDirectory(
                          [](const std::string& key) -> std::optional<std::string> {
                              if (key == "COM1")
                                  return std::string(kSimulatorDevice);
                              return std::nullopt;
                          },
                          "/nonexistent-dev"),
                      clock, &station};
    MainState state;
    MessageTable messages;
    SettingsFile settingsFile{dir.path()};
    Settings settings;
    AdminLog adminLog{dir.path(), wall};
    DirectUiThread ui;
    RecordingProcessor processor{dir.path()};
    RecordingIdButtons idButtons;
    std::stop_source stop;
};

} // namespace kestrova::testing
