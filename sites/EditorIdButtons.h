// Id buttons read at the station, taken into the checkpoint editor: the comms thread hands
// each id to the user-interface thread, where the editor adds it as one step, whether or not
// its window is showing. An error of that step is shown by the general error message there.
// Core, link and this layer only.
#pragma once

#include "link/HandOver.h"

#include <functional>
#include <string>

namespace kestrova {

class CheckpointEditor;
class Dialogs;

class EditorIdButtons : public IdButtonSink {
public:
    // Queues a step on the user-interface thread and returns at once.
    using Post = std::function<void(std::function<void()>)>;

    EditorIdButtons(CheckpointEditor& editor, Dialogs& dialogs, Post post)
        : editor_(editor), dialogs_(dialogs), post_(std::move(post)) {}

    // On the comms thread.
    void IdButtonRead(const std::string& id) override;

private:
    CheckpointEditor& editor_;
    Dialogs& dialogs_;
    Post post_;
};

} // namespace kestrova
