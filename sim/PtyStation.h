// The simulated station served on a pseudo-terminal, in real time: the program (or any other)
// opens the slave device as it would a serial port, and the station answers on the master side
// at the pace of 9600 baud 8N2. A pseudo-terminal carries no modem lines and no break, so the
// station sees neither: it echoes whatever DTR says, and a baton is announced once, when it is
// put down. The baton goes down a second after the station check's Get Info (the program then
// looks for a baton) and stays until taken off. Standard library and POSIX only.
#pragma once

#include "sim/SimClock.h"
#include "sim/SimStation.h"

#include <atomic>
#include <optional>
#include <string>
#include <thread>

namespace kestrova::sim {

class PtyStation {
public:
    // Opens the pseudo-terminal; std::runtime_error when none can be had.
    explicit PtyStation(SimBaton baton);
    ~PtyStation();
    PtyStation(const PtyStation&) = delete;
    PtyStation& operator=(const PtyStation&) = delete;

    // The slave device the program opens.
    const std::string& devicePath() const { return device_; }
    // Serves until stop(); returns at once.
    void start();
    void stop();
    // The baton as it is now, taken off the station; no value when it was never put down.
    std::optional<SimBaton> takeBatonOff();
    // Puts a baton down now; the station announces it at once.
    void placeBaton(SimBaton baton);

private:
    void fromProgram(std::stop_token stop);
    void toProgram(std::stop_token stop);

    SteadySimClock clock_;
    SimStation station_{clock_};
    SimBaton baton_;
    std::atomic<bool> placing_ = false;
    int master_ = -1;
    int slaveKeeper_ = -1; // keeps the slave side alive while no program has it open
    std::string device_;
    std::jthread reader_;
    std::jthread writer_;
};

} // namespace kestrova::sim
