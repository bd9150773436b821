#include "app/DesktopProgram.h"

#include "core/TraceLog.h"
#include "shell/ProgramLink.h"

namespace kestrova::app {

namespace {
Desktop withBusy(Desktop desktop, BusyIndicator& busy) {
    return Desktop{desktop.dialogs, desktop.events, busy,           desktop.documents,
                   desktop.beeper,  desktop.clock,  desktop.locale, desktop.trash};
}
} // namespace

DesktopProgram::DesktopProgram(Desktop desktop, ProgramOptions options)
    : desktop_(desktop), busy_(desktop.busy),
      context_(std::make_unique<ProgramContext>(options.programDir, withBusy(desktop, busy_),
                                                sessionNumberAt(desktop.clock.now()))),
      print_(desktop.clock, desktop.locale), processor_(*context_, state_, chooser_, print_),
      options_(std::move(options)) {}

DesktopProgram::~DesktopProgram() {
    if (comms_)
        comms_->stop();
}

void DesktopProgram::startComms() {
    if (comms_)
        return;
    simulatorPort_ = simulatorPort(context_->settingsFile);
    LinkClock* clock = &steadyLink_;
    if (simulatorPort_) {
        sim::SimClock* simClock = options_.simClock;
        if (simClock == nullptr) {
            ownSimClock_ = std::make_unique<sim::SteadySimClock>();
            simClock = ownSimClock_.get();
        }
        station_ = std::make_unique<sim::SimStation>(*simClock);
        clock = simClock;
    }
    port_ = std::make_unique<PortRouter>(settingsPortDirectory(context_->settingsFile), *clock,
                                         station_.get());
    comms_ = std::make_unique<TCommsThread>(makeLinkServices(
        *context_, state_, LinkParts{*port_, *clock, desktop_.clock, ui_, processor_, idButtons_}));
    comms_->start();
}

void DesktopProgram::stopComms() {
    if (comms_)
        comms_->stop();
}

} // namespace kestrova::app
