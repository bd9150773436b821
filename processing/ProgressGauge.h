// The progress bar `Gauge1` while an upload is processed: one step per line read, and the
// maximum raised by 200 whenever the position comes within 100 of it, so the bar never fills up
// before the end. Standard library and the shared main-window state only.
#pragma once

#include "core/MainState.h"

namespace kestrova {

class ProgressGauge {
public:
    explicit ProgressGauge(MainState& state) : state_(state) {}

    void start(std::int64_t maximum) {
        position_ = 0;
        maximum_ = maximum;
        state_.setGaugeProgress(position_);
        state_.setGaugeMaximum(maximum_);
    }
    void setMaximum(std::int64_t maximum) {
        maximum_ = maximum;
        state_.setGaugeMaximum(maximum_);
    }
    void advance() {
        ++position_;
        if (position_ + 100 >= maximum_) {
            maximum_ += 200;
            state_.setGaugeMaximum(maximum_);
        }
        state_.setGaugeProgress(position_);
    }
    std::int64_t position() const { return position_; }

private:
    MainState& state_;
    std::int64_t position_ = 0;
    std::int64_t maximum_ = 0;
};

} // namespace kestrova
