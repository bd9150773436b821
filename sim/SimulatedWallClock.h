// The PC's wall clock under simulation: a starting moment that moves on with the simulated
// time, so that the baton's clock and the PC's stay in step as they would on a desk.
// Standard library only.
#pragma once

#include "core/Desktop.h"
#include "sim/SimClock.h"

namespace kestrova::sim {

class SimulatedWallClock : public Clock {
public:
    SimulatedWallClock(const SimClock& clock, LocalDateTime start)
        : clock_(clock), start_(start), startNs_(clock.nowNs()) {}

    LocalDateTime now() const override {
        const std::int64_t elapsedMs = (clock_.nowNs() - startNs_) / 1'000'000;
        LocalDateTime t = addSeconds(start_, elapsedMs / 1000);
        t.millisecond = static_cast<int>(elapsedMs % 1000);
        return t;
    }
    std::uint64_t tickCount() const override { return clock_.nowMs(); }

private:
    const SimClock& clock_;
    LocalDateTime start_;
    std::int64_t startNs_;
};

} // namespace kestrova::sim
