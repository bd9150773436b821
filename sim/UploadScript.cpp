// Playing one baton's visit from the session's own indications.
#include "sim/UploadScript.h"

namespace kestrova::sim {

UploadScript::UploadScript(MainState& state, SimStation& station, const MessageTable& messages,
                           SimBaton baton, std::stop_source stop)
    : state_(state), station_(station), lookingText_(messages.MessageText(8)),
      completeCaption_("Kestrova  -  " + messages.MessageText(114)), baton_(std::move(baton)),
      stop_(std::move(stop)) {
    subscription_ = state_.subscribe([this](MainField field) { changed(field); });
    // The station may have been found before this listened.
    changed(MainField::StationChecked);
}

UploadScript::~UploadScript() {
    state_.unsubscribe(subscription_);
}

void UploadScript::changed(MainField field) {
    if (field == MainField::StationChecked && !placed_ && state_.stationChecked()) {
        placed_ = true;
        station_.placeBaton(*baton_);
        return;
    }
    if (field == MainField::Caption && placed_ && !removed_ &&
        state_.caption() == completeCaption_) {
        removed_ = true;
        after_ = station_.takeBatonOff();
        return;
    }
    if (field == MainField::StatusText && removed_ && !finished_ &&
        state_.statusText() == lookingText_) {
        finished_ = true;
        stop_.request_stop();
    }
}

} // namespace kestrova::sim
