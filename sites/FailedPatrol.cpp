// Failed-patrol programming and the failed-patrol window's field corrections.
#include "sites/FailedPatrol.h"

#include "core/Errors.h"
#include "core/ProgramContext.h"
#include "core/TextFile.h"
#include "sites/Numbers.h"

namespace kestrova {

namespace {

constexpr int kNoCheckpoints = 42;
constexpr int kRoundTimeNotMultiple = 43;
constexpr std::int64_t kStampAheadSeconds = 30LL * 24 * 3600;

std::uint8_t bcd(int value) {
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

std::uint8_t hexPair(const std::string& id, std::size_t at) {
    const auto digit = [&](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        throw ConversionError("'" + id + "' is not a valid hexadecimal id");
    };
    return static_cast<std::uint8_t>(digit(id[at]) * 16 + digit(id[at + 1]));
}

std::string logEntry(const FailedPatrolRequest& r) {
    return "Programmed a failed patrol with the following settings FPType:" + r.typeText +
           " RT:" + r.roundTime + " ST:" + r.startTime + " FT:" + r.finishTime +
           " TT:" + r.restTime + " B:" + r.numBatons;
}

std::string tooManyRecordsText(std::size_t records) {
    return "The baton holds at most " + std::to_string(MainState::kStoreCapacity) +
           " programming records; this schedule needs " + std::to_string(records) +
           ". Nothing was programmed.";
}

} // namespace

std::array<std::uint8_t, 4> programmingStamp(const LocalDateTime& when) {
    const LocalDateTime t = addSeconds(when, kStampAheadSeconds);
    return {bcd(t.month), static_cast<std::uint8_t>(((t.year % 4) << 6) | bcd(t.day)), bcd(t.hour),
            bcd(t.minute)};
}

StoreRecord programmingRecord(const std::string& id, const std::array<std::uint8_t, 4>& stamp) {
    if (id.size() != 6)
        throw ConversionError("'" + id + "' is not a valid hexadecimal id");
    return {hexPair(id, 0), hexPair(id, 2), hexPair(id, 4), stamp[0], stamp[1], stamp[2], stamp[3]};
}

std::vector<StoreRecord> programmingRecords(const std::vector<Checkpoint>& checkpoints, int first,
                                            int second, int third,
                                            const std::array<std::uint8_t, 4>& stamp) {
    std::vector<StoreRecord> records;
    for (std::size_t i = 0; i < checkpoints.size(); ++i) {
        const StoreRecord record = programmingRecord(checkpoints[i].id, stamp);
        const int copies = i == 0 ? first : i == 1 ? second : i == 2 ? third : 1;
        for (int copy = 0; copy < copies; ++copy)
            records.push_back(record);
    }
    return records;
}

ProgramResult ProgramFailedPatrol(ProgramContext& context, MainState& state,
                                  FailedPatrolRequest request) {
    Dialogs& dialogs = context.desktop.dialogs;
    ProgramResult result;
    if (request.roundTime.size() < 2)
        request.roundTime = "015";
    result.roundTime = request.roundTime;
    const int round = toInteger(request.roundTime);
    if (round % 15 != 0) {
        dialogs.showError(context.messages.MessageText(kRoundTimeNotMultiple));
        result.outcome = ProgramOutcome::RoundTimeNotMultiple;
        return result;
    }
    int second = 0;
    int third = 0;
    if (request.single) {
        second = toInteger(request.startTime.substr(0, 2));
        third = toInteger(request.finishTime.substr(0, 2));
    } else {
        second = toInteger(request.restTime) / 5;
        if (second == 0)
            second = 1;
        third = toInteger(request.numBatons);
    }
    const auto stamp = programmingStamp(context.desktop.clock.now());
    if (!checkpointListExists(context.programDir, request.site)) {
        dialogs.showError(context.messages.MessageText(kNoCheckpoints) + " \"" + request.site +
                          "\"");
        result.outcome = ProgramOutcome::NoCheckpointList;
        return result;
    }
    const auto checkpoints =
        readCheckpointSection(readLines(checkpointListPath(context.programDir, request.site)));
    // Built in full before anything is logged or stored: an id that is not hexadecimal, or a
    // schedule that does not fit, programs nothing rather than part of the list.
    const auto records = programmingRecords(checkpoints, round / 15, second, third, stamp);
    result.records = records.size();
    if (records.size() > MainState::kStoreCapacity) {
        dialogs.showError(tooManyRecordsText(records.size()));
        result.outcome = ProgramOutcome::TooManyRecords;
        return result;
    }
    context.adminLog.WriteAdminLog(request.site, logEntry(request));
    state.setWriteStore(records);
    return result;
}

std::string roundTimeOnLeave(const std::string& text) {
    const auto value = readNumber(text);
    if (!value)
        return text;
    const int lowered = multipleAtOrBelow(*value, 15);
    return lowered < 15 ? "015" : zeroPadded(lowered, 3);
}

std::string patrolTimeOnLeave(const std::string& text) {
    const auto hour = readNumberAt(text, 0, 2);
    if (!hour || (*hour != 0 && *hour <= 24))
        return text;
    return "24h00";
}

std::string restTimeOnLeave(const std::string& text) {
    const auto value = readNumber(text);
    if (!value)
        return text;
    const std::string result = *value % 5 == 0 ? text : zeroPadded(multipleAtOrBelow(*value, 5), 3);
    return result == "005" ? "010" : result;
}

std::string batonsOnLeave(const std::string& text) {
    return text == "0" ? "1" : text;
}

} // namespace kestrova
