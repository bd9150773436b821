// The checkpoint editor over one site named on the command line, loaded as the editor loads it
// (an empty list is created for a site that has none). Standard library and the logic layers.
#pragma once

#include "cli/CliSession.h"
#include "core/MainState.h"
#include "sites/CheckpointEditor.h"

#include <optional>
#include <string>

namespace kestrova::cli {

class SiteEditor {
public:
    // Throws std::runtime_error when no site has that name (in any letter case).
    SiteEditor(const CliSession& session, const std::string& site);

    CheckpointEditor& editor() { return *editor_; }
    ProgramContext& context() { return program_.context(); }
    MainState& state() { return state_; }

private:
    CliProgram program_;
    MainState state_;
    std::optional<CheckpointEditor> editor_;
};

} // namespace kestrova::cli
