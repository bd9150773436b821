// The sites windows as the main window opens them: the checkpoint editor (with its Id input
// box and site deletion window) and the failed-patrol window, built once and kept for the run,
// and the receiver that takes Id buttons read at the station into the editor on the
// user-interface thread. This is the entry point of the module:
//
//   SitesWindows sites(context, state, initialSite, mainWindow);
//   ... LinkServices{..., sites.idButtons()} ...
//   menu "Checkpoints":    sites.openCheckpointEditor(reportsSite);
//   menu "Failed Patrol":  sites.openFailedPatrol();
//
// Qt Widgets over the sites layer.
#pragma once

#include "sites/CheckpointEditor.h"
#include "sites/EditorIdButtons.h"

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace kestrova::windows {

class Tfrmpoints;
class TfrmFPSetup;

class SitesWindows {
public:
    // `initialSite`: the start-up default site's position (DefaultSite).
    SitesWindows(ProgramContext& context, MainState& state, std::optional<std::size_t> initialSite,
                 QWidget* parent);
    ~SitesWindows();

    // Start-up: the checkpoint editor's site list selects the DefaultSite position.
    void preselect(std::optional<std::size_t> site) { editor_.preselect(site); }

    // Modal, as the menu opens them; they return when the window closes.
    void openCheckpointEditor(std::optional<std::size_t> reportsSite);
    void openFailedPatrol();

    // For the comms thread: posts each button to this thread's event loop.
    IdButtonSink& idButtons() { return idButtons_; }

    CheckpointEditor& editor() { return editor_; }
    Tfrmpoints& checkpointWindow() { return *points_; }
    TfrmFPSetup& failedPatrolWindow() { return *fpSetup_; }

private:
    CheckpointEditor editor_;
    EditorIdButtons idButtons_;
    std::unique_ptr<Tfrmpoints> points_;
    std::unique_ptr<TfrmFPSetup> fpSetup_;
};

} // namespace kestrova::windows
