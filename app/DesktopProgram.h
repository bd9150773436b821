// Everything the desktop program owns for its whole run, below the windows: the shared state
// (program context, main-window state), upload processing, and the comms thread with its
// port — the real ports, or the simulated station on the port a "COM<n>=simulator" entry
// names (training without hardware). The main window drives it; tests build it over fake
// desktops and a virtual clock. Qt Core only for the hand-over.
#pragma once

// moc need not read the logic's headers (and cannot parse every standard one).
#ifndef Q_MOC_RUN
#include "app/QtUiThread.h"
#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "link/CommsThread.h"
#include "link/PortRouter.h"
#include "pdf/pdfprint.h"
#include "shell/UploadProcessor.h"
#include "sim/SimClock.h"
#include "sim/SimStation.h"
#endif

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace kestrova::app {

// Forwards to a target that may come and go (a window that answers for the logic).
class UnknownChooserRelay : public UnknownCheckpointChooser {
public:
    void setTarget(UnknownCheckpointChooser* target) { target_ = target; }
    // Without a window the clockings are ignored, as closing the window does.
    void choose(UnknownCheckpointPlacement& placement) override {
        if (target_ != nullptr)
            target_->choose(placement);
        else
            placement.ignore();
    }

private:
    UnknownCheckpointChooser* target_ = nullptr;
};

class IdButtonRelay : public IdButtonSink {
public:
    // Set before the comms thread starts, never changed while it runs.
    void setTarget(IdButtonSink* target) { target_ = target; }
    void IdButtonRead(const std::string& id) override {
        if (target_ != nullptr)
            target_->IdButtonRead(id);
    }

private:
    IdButtonSink* target_ = nullptr;
};

// The busy panel: the desktop's own indicator and the main window's Panel1.
class BusyRelay : public BusyIndicator {
public:
    explicit BusyRelay(BusyIndicator& outer) : outer_(outer) {}
    void setWindow(std::function<void(bool)> window) { window_ = std::move(window); }
    void setBusy(bool busy) override {
        busy_ = busy;
        outer_.setBusy(busy);
        if (window_)
            window_(busy);
    }
    bool busy() const { return busy_; }

private:
    BusyIndicator& outer_;
    std::function<void(bool)> window_;
    bool busy_ = false;
};

struct ProgramOptions {
    std::filesystem::path programDir;
    // The link's time for a simulated station; none: the steady clock. A test passes a
    // virtual clock so that a whole upload passes in a moment.
    sim::SimClock* simClock = nullptr;
};

class DesktopProgram {
public:
    DesktopProgram(Desktop desktop, ProgramOptions options);
    ~DesktopProgram();
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    ProgramContext& context() { return *context_; }
    MainState& state() { return state_; }
    UploadProcessor& processor() { return processor_; }
    pdf::PdfPrint& print() { return print_; }
    QtUiThread& ui() { return ui_; }
    UnknownChooserRelay& unknownChooser() { return chooser_; }
    IdButtonRelay& idButtons() { return idButtons_; }
    BusyRelay& busy() { return busy_; }

    // Start-up's last step: the station's port and the comms thread.
    void startComms();
    // Closing: stops the thread, sets DTR on and closes the port; errors are the caller's.
    void stopComms();
    bool commsStarted() const { return comms_ != nullptr; }

    // The simulated station, when the settings put one on a port (after startComms).
    sim::SimStation* station() { return station_.get(); }
    std::optional<int> simulatorPortNumber() const { return simulatorPort_; }

private:
    Desktop desktop_;
    BusyRelay busy_;
    std::unique_ptr<ProgramContext> context_;
    MainState state_;
    pdf::PdfPrint print_;
    UnknownChooserRelay chooser_;
    IdButtonRelay idButtons_;
    UploadProcessor processor_;
    QtUiThread ui_;
    ProgramOptions options_;
    SteadyLinkClock steadyLink_;
    std::unique_ptr<sim::SimClock> ownSimClock_;
    std::unique_ptr<sim::SimStation> station_;
    std::optional<int> simulatorPort_;
    std::unique_ptr<PortRouter> port_;
    std::unique_ptr<TCommsThread> comms_;
};

} // namespace kestrova::app
