// Programming the baton: its id number (with the auto-increment from baton to baton), the
// failed-patrol records of the write store, and the Id buttons touched at the station.
#include "link/CommsSession.h"
#include "link/UploadFile.h"

#include <charconv>

namespace kestrova {

namespace {

// The next id after the field's text, as four characters: the field takes a letter or digit
// and three digits, so a number of fewer than four digits gets leading zeros and one past 9999
// does not fit at all.
std::optional<std::string> nextIdNumber(const std::string& field) {
    int value = 0;
    const char* first = field.data();
    const char* last = field.data() + field.size();
    const auto result = std::from_chars(first, last, value);
    if (field.empty() || result.ec != std::errc() || result.ptr != last || value < 0 ||
        value >= 9999)
        return std::nullopt;
    std::string text = std::to_string(value + 1);
    text.insert(0, 4 - text.size(), '0');
    return text;
}

} // namespace

void CommsSession::IdAutoIncrement() {
    if (!s_.state.autoIncrementId()) {
        s_.state.setLabelColour(Label::Id, TextColour::Normal);
        return;
    }
    trace("5 Autoinc");
    s_.state.setLabelColour(Label::Id, TextColour::Blue);
    if (!s_.state.idToSet().empty())
        return;
    const auto next = nextIdNumber(s_.state.idFieldText());
    if (!next) {
        s_.state.setAutoIncrementId(false);
        return;
    }
    s_.state.setIdFieldText(*next);
    s_.state.setIdToSet(*next);
    s_.state.setLabelText(Label::Id, message(10) + " " + *next);
}

void CommsSession::sendSetId(const std::string& id) {
    emptyBuffer();
    trace("RxInd=0 >Send 07 Command< " + std::to_string(dly_));
    s_.state.setStatusText(message(15));
    send(SetIdFrame(id));
    rxOk_ = false;
    dly_ = 500;
    // The status reply, parsed during the next wait, moves the session on.
    state_ = SessionState::Restart;
}

// The baton refused the id. Waiting here would wait for good, since nothing the baton sends
// while it sits on the station leaves this state: the refused id is dropped (with the
// auto-increment, which would only offer the next number to the same baton), the status line
// says so, and the baton is identified again and read as if no id had been asked for.
void CommsSession::stepIdRefused() {
    const std::string id = s_.state.idToSet();
    trace("220 Id refused " + id);
    s_.state.setStatusText("Id number " + id + " refused by the baton");
    s_.state.setIdToSet("");
    s_.state.setAutoIncrementId(false);
    emptyBuffer();
    rxOk_ = false;
    dly_ = 100;
    state_ = SessionState::Identify;
}

void CommsSession::startBatonWrite() {
    // The write works from its own copy: a programming the user makes meanwhile waits for the
    // next baton instead of mixing its records into this one.
    writing_ = s_.state.pendingWrite().value_or(MainState::PendingWrite{});
    const auto storeLen = static_cast<std::int64_t>(writing_.records.size());
    chipMem_ = 0;
    // Makes the parser take the following Set Pointer status without starting a read.
    downloadPending_ = true;
    timeoutCount_ = 0;
    s_.state.setGaugeProgress(0);
    s_.state.setGaugeMaximum(storeLen * 11 + 15);
    s_.state.setLabelVisible(Label::NoData, false);
    s_.state.setStatusText("Clearing memory");
    emptyBuffer();
    trace("RxInd=0 >Send 0B Command Clr Mem B< " + std::to_string(dly_));
    state_ = SessionState::BatonWrite;
    s_.state.setStoreIndex(1);
    dly_ = 1;
    // Chip 0 from address 8, the first record after the header record.
    const bool accepted = sendAndAwait(SetPointerFrame(0, 0x0008), 500);
    downloadPending_ = false;
    if (!accepted) {
        state_ = SessionState::Restart;
        trace("TimeOut with Clear mem for setfp");
    }
}

void CommsSession::stepBatonWrite() {
    const auto storeLen = static_cast<std::int64_t>(writing_.records.size());
    const std::int64_t index = s_.state.storeIndex();
    if (index <= storeLen) {
        trace("StoreLen=" + std::to_string(storeLen));
        s_.state.setStatusText(message(71));
        emptyBuffer();
        trace("RxInd=0 >Send 0F Command Baton Write< " + std::to_string(dly_));
        const StoreRecord& record = writing_.records[static_cast<std::size_t>(index - 1)];
        send(WriteRecordFrame(record));
        rxOk_ = false;
        state_ = SessionState::BatonWrite;
        s_.state.setStoreIndex(index + 1);
        replyDeadline_ = now() + 500;
        awaitReply();
        if (!rxOk_) {
            state_ = SessionState::Restart;
            trace("TimeOut with Write to baton");
        }
        return;
    }
    emptyBuffer();
    trace("RxInd=0 >Send 11 Command C < " + std::to_string(dly_));
    // The chip now ends after its header record and the records just written.
    send(SetEndFrame(0, static_cast<std::uint16_t>(8 * storeLen + 8)));
    chipMem_ = -4;
    rxOk_ = false;
    state_ = SessionState::Main;
    downloadPending_ = false;
    replyDeadline_ = now() + 500;
    setEndRefused_ = false;
    awaitReply();
    if (!rxOk_ || setEndRefused_) {
        // Not confirmed, or refused (the records would stand unended): the write stays pending
        // and is made again from its first record.
        state_ = SessionState::Restart;
        trace("TimeOut with Set Data Pointer");
        return;
    }
    s_.state.finishWrite(writing_.programming);
    writeBareDoneMarker(s_.programDir);
}

void CommsSession::IdButtonStep(ByteView b) {
    const std::string id = hexByte(b[1]) + hexByte(b[2]) + hexByte(b[3]);
    trace("IdButton =" + id);
    s_.beeper.beep();
    framer_.remove(5);
    // The button is consumed here; no wait of the session is for it, and leaving RxOk set
    // would stop the parser from taking the next button.
    rxOk_ = false;
    if (id == "000000") {
        trace("0");
        return;
    }
    trace("1");
    s_.idButtons.IdButtonRead(id);
}

} // namespace kestrova
