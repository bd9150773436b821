// One baton's visit to the simulated station, played against the session: the baton is put
// down once the station search has found the station, taken off once the session watches it
// after its upload (the caption shows "Download Complete"), and the run ends when the session
// looks for a baton again. It listens to the shared main-window state, so it runs on whichever
// thread changes it, and needs no clock of its own. Standard library only.
#pragma once

#include "core/MainState.h"
#include "core/MessageTable.h"
#include "sim/SimStation.h"

#include <functional>
#include <optional>
#include <stop_token>
#include <string>

namespace kestrova::sim {

class UploadScript {
public:
    UploadScript(MainState& state, SimStation& station, const MessageTable& messages,
                 SimBaton baton, std::stop_source stop);
    ~UploadScript();
    UploadScript(const UploadScript&) = delete;
    UploadScript& operator=(const UploadScript&) = delete;

    bool placed() const { return placed_; }
    bool finished() const { return finished_; }
    // The baton as it left the station.
    const std::optional<SimBaton>& batonAfter() const { return after_; }

private:
    void changed(MainField field);

    MainState& state_;
    SimStation& station_;
    std::string lookingText_;
    std::string completeCaption_;
    std::optional<SimBaton> baton_;
    std::stop_source stop_;
    int subscription_ = -1;
    bool placed_ = false;
    bool removed_ = false;
    bool finished_ = false;
    std::optional<SimBaton> after_;
};

} // namespace kestrova::sim
