// Handing Id buttons from the comms thread to the editor.
#include "sites/EditorIdButtons.h"

#include "core/Errors.h"
#include "sites/CheckpointEditor.h"

namespace kestrova {

void EditorIdButtons::IdButtonRead(const std::string& id) {
    post_([this, id] { runReportingErrors(dialogs_, [&] { editor_.AddReadInCheckpoint(id); }); });
}

} // namespace kestrova
