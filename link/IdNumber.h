// The Id number window's logic: the field's mask (four characters, a letter or digit and then
// three digits) and what "&Ok", Enter, "~" and "&Cancel" do to the id waiting for the next
// baton. The window and the command line's --set-id both act through these. May depend on
// core only.
#pragma once

#include "core/AdminLog.h"
#include "core/MainState.h"
#include "core/MessageTable.h"

#include <cstddef>
#include <string>

namespace kestrova {

inline constexpr std::size_t kIdNumberLength = 4;

// Whether the mask takes `c` at 0-based `position` of the field.
bool idMaskAccepts(std::size_t position, char c);
// A complete field: four characters, each one the mask takes.
bool isIdNumber(const std::string& text);

// How the user confirmed the field.
enum class IdEntry {
    OkButton, // "&Ok": also writes the admin-log entry
    EnterKey, // Enter in the field: as "&Ok" without the entry
    TildeKey, // "~" in the field: as Enter, and the id counts up from baton to baton
};

// Makes `field` the id for the next baton and shows it in lblID. False, and nothing changed,
// when the field is not complete: the window then stays open.
bool IdNumberOk(MainState& state, AdminLog& adminLog, const MessageTable& messages,
                const std::string& field, IdEntry entry);

// "&Cancel": no id waits any more.
void IdNumberCancel(MainState& state);

} // namespace kestrova
