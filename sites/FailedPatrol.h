// Programming a failed-patrol schedule into the next baton: the programming records (the
// checkpoint ids with a stamp thirty days ahead, the first three ids repeated to carry the
// schedule's numbers), the checks before anything is stored, and the failed-patrol window's
// corrections of its fields. Core only.
#pragma once

#include "core/CheckpointList.h"
#include "core/DateTime.h"
#include "core/MainState.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kestrova {

struct ProgramContext;

// What one programming asks for. `single` is a single-baton unit (the panel's "Single Baton",
// the failed-patrol window's first tab); every other type programs a multiple-baton unit.
struct FailedPatrolRequest {
    std::string site;
    bool single = true;
    std::string roundTime;
    std::string startTime;  // Monday's, for a single-baton unit
    std::string finishTime; // Monday's, for a single-baton unit
    std::string restTime;
    std::string numBatons;
    std::string typeText; // as the admin-log entry names the type
};

enum class ProgramOutcome {
    Programmed,           // the store is filled and waits for the next baton
    RoundTimeNotMultiple, // message 43 shown; the window stays open
    NoCheckpointList,     // message 42 shown; nothing stored
    TooManyRecords,       // more records than the store holds; nothing stored
};

struct ProgramResult {
    ProgramOutcome outcome = ProgramOutcome::Programmed;
    // The round-time text after the programming's own correction of a too short text.
    std::string roundTime;
    std::size_t records = 0;
    // Whether the window that programmed closes now.
    bool closesWindow() const { return outcome != ProgramOutcome::RoundTimeNotMultiple; }
};

// Fills the baton-write store and sets WritePending, with the admin-log entry; the messages go
// through the context's dialogs. A number or an id that does not convert raises
// ConversionError before anything is stored or logged.
ProgramResult ProgramFailedPatrol(ProgramContext& context, MainState& state,
                                  FailedPatrolRequest request);

// Bytes 4-7 of a programming record for a moment: BCD month, year modulo 4 over the BCD day,
// BCD hour, BCD minute.
std::array<std::uint8_t, 4> programmingStamp(const LocalDateTime& when);
// One record: the id's three bytes (ConversionError when it is not six hexadecimal digits),
// then the stamp.
StoreRecord programmingRecord(const std::string& id, const std::array<std::uint8_t, 4>& stamp);
// The records for a checkpoint list: `first`, `second` and `third` copies of the first three
// ids, one of every later id.
std::vector<StoreRecord> programmingRecords(const std::vector<Checkpoint>& checkpoints, int first,
                                            int second, int third,
                                            const std::array<std::uint8_t, 4>& stamp);

// The failed-patrol window's corrections of a field the user leaves.
std::string roundTimeOnLeave(const std::string& text);
std::string patrolTimeOnLeave(const std::string& text);
std::string restTimeOnLeave(const std::string& text);
std::string batonsOnLeave(const std::string& text);

} // namespace kestrova
