// `ParseReplies`: everything the station and the baton send passes through here. The framer
// collects the bytes (RxBuf) and says what the frame at the front is; this file decides what
// the session does with it. A reply whose check byte is wrong is not consumed: it blocks the
// buffer until the session empties it (a download re-requests the record, other waits time
// out).
#include "link/CommsSession.h"

namespace kestrova {

std::string CommsSession::chipStatus(const std::string& text) const {
    return text + " " + std::to_string(chipMem_ / 2 + 2);
}

std::string CommsSession::downloadStatus() const {
    return chipMem_ / 2 == -1 ? message(16) : chipStatus(message(16));
}

void CommsSession::ParseReplies() {
    const std::size_t count = s_.port.inputCount();
    const Bytes bytes = count > 0 ? s_.port.read(count) : Bytes();
    // Lines are built only while the trace is on: this runs for every byte that arrives.
    const bool traced = tracing();
    if (!bytes.empty() && traced)
        trace("ChkPrt " + std::to_string(bytes.size()));
    const bool counting = s_.state.gaugeCounting();
    for (const std::uint8_t byte : bytes) {
        const bool kept = framer_.push(byte);
        if (counting)
            s_.state.advanceGauge();
        else if (state_ != SessionState::BeforeMain)
            s_.state.setGaugeProgress(0);
        if (!kept)
            state_ = SessionState::Restart; // more than 100 bytes nobody consumed
        if (!batonPresent_ && framer_.endsWithAnnouncement())
            batonPresent_ = true;
    }
    // The busy loop this replaces met each frame at its own call; here one call acts on the
    // frames in turn while they are complete and each consumes bytes.
    for (;;) {
        if (rxOk_) {
            if (!framer_.empty() && traced)
                trace(hexBytes(framer_.bytes()) + ">RxOk< " + std::to_string(dly_));
            return;
        }
        if (framer_.empty())
            return;
        if (traced)
            trace(hexBytes(framer_.bytes()) + ">Not RxOk< " + std::to_string(dly_) + "( " +
                  std::to_string(now() - startMs_) + " )");
        const std::size_t sizeBefore = framer_.size();
        const std::uint8_t codeBefore = framer_.bytes()[0];
        actOnFirstReply(*framer_.front());
        if (!framer_.empty() && framer_.size() == sizeBefore && framer_.bytes()[0] == codeBefore)
            return; // the frame waits for more bytes, or blocks the buffer
    }
}

void CommsSession::actOnFirstReply(const Reply& reply) {
    const std::string dly = tracing() ? std::to_string(dly_) : std::string();
    // Checked replies that carry a status: 1 done, 0 refused.
    const bool accepted =
        reply.checkOk && reply.complete && reply.bytes.size() >= 2 && reply.status() == 1;
    const bool refused =
        reply.checkOk && reply.complete && reply.bytes.size() >= 2 && reply.status() == 0;
    if (reply.row == nullptr) {
        emptyBuffer();
        trace("RxInd=0 >After Rec funny Command< " + dly);
        resend();
        return;
    }
    // Whatever the code, nothing happens before the bytes it needs are there, but for these
    // two rows: an info reply hides Label4 at once, a Read Clock echo clears RxOk at once.
    if (reply.code == code::kInfo)
        s_.state.setLabelVisible(Label::NoData, false);
    if (reply.code == code::kReadClockBcd || reply.code == code::kReadClockSeconds)
        rxOk_ = false;
    if (!reply.complete)
        return;
    switch (reply.code) {
    case code::kGetInfo:
        if (framer_.holdsAnnouncement()) {
            batonPresent_ = true;
            emptyBuffer();
            sendRaw(kSyncBurst);
        }
        if (framer_.size() >= 2 && framer_.bytes()[1] == 0x5E) {
            rxOk_ = false;
            framer_.remove(2);
        }
        return;
    case code::kInfo:
        rxOk_ = reply.checkOk;
        trace(hexByte(reply.computedCheck()));
        return; // the session takes the info reply (identification)
    case code::kClockBcd:
        rxOk_ = reply.checkOk;
        if (rxOk_)
            showClockBcd(reply.bytes);
        return;
    case code::kSetClockBcdStatus:
        rxOk_ = accepted;
        if (!rxOk_) {
            state_ = SessionState::SetClock;
            emptyBuffer();
            trace("RxInd=0 >After Rec 06 Command< " + dly);
        }
        return;
    case code::kSetIdStatus:
        rxOk_ = accepted;
        if (refused) {
            state_ = SessionState::IdRefused;
            emptyBuffer();
            trace("RxInd=0 >After Rec 08 Command< " + dly);
        }
        if (rxOk_) {
            s_.state.setIdToSet("");
            emptyBuffer();
            trace("RxInd=0 >Send 01 Command< " + dly);
            send(GetInfoFrame());
            rxOk_ = false;
            dly_ = 100;
            state_ = SessionState::Identify;
        }
        return;
    case code::kSize:
        rxOk_ = reply.checkOk;
        trace(hexByte(reply.computedCheck()));
        if (rxOk_) {
            sizeReply_ = reply.sizeValue();
            sizeReplyEmptyFlag_ = reply.byte(1) == 0x80;
            emptyBuffer();
        }
        return;
    case code::kSetPointer:
        framer_.remove(reply.length);
        replyDeadline_ = now() + 500;
        return;
    case code::kSetPointerStatus:
        rxOk_ = accepted;
        if (refused) {
            emptyBuffer();
            trace("RxInd=0 >After Rec 0C Command Error retry< " + dly);
            resend();
        }
        // The write preparation takes the status without starting a read.
        if (rxOk_ && !(chipMem_ <= 0 && downloadPending_ && timeoutCount_ == 0)) {
            s_.state.setStatusText(downloadStatus());
            emptyBuffer();
            trace("RxInd=0 >After Rec 0c Command B < " + std::to_string(chipMem_));
            send(ReadNextFrame());
            rxOk_ = false;
            replyDeadline_ = now() + 1500;
        }
        return;
    case code::kReadNext:
        // The echo is dropped once a byte of the next frame is there.
        framer_.remove(reply.length);
        replyDeadline_ = now() + 1500;
        return;
    case code::kRecord:
        rxOk_ = reply.checkOk;
        if (rxOk_)
            recordStep(reply.record());
        return;
    case code::kWriteRecordStatus:
        rxOk_ = accepted;
        framer_.remove(reply.length);
        return;
    case code::kSetEndStatus:
        if (accepted || refused) {
            setEndRefused_ = refused;
            state_ = SessionState::Main;
            if (refused)
                trace("RxInd=0 >After Rec 12 Command< " + dly);
            emptyBuffer();
            rxOk_ = true;
            trace("RxInd=0 >After Rec 12 Command B < " + dly);
        }
        return;
    case code::kVoltage:
        trace("Voltage =" + std::to_string(reply.byte(1) / 51.0) + "V");
        framer_.remove(reply.length);
        rxOk_ = true;
        return;
    case code::kIdButton:
        rxOk_ = reply.checkOk;
        if (rxOk_)
            IdButtonStep(reply.bytes);
        return;
    case code::kButtonTime:
        trace("ButtonTime =" + hexByte(reply.byte(1)) + hexByte(reply.byte(2)) +
              hexByte(reply.byte(3)) + hexByte(reply.byte(4)));
        s_.beeper.beep();
        framer_.remove(reply.length);
        return;
    case code::kCharge:
        trace("Voltage =" + std::to_string(reply.byte(1) / 51.0) + "V");
        if (reply.byte(1) > 102)
            state_ = SessionState::ChargePause;
        framer_.remove(reply.length);
        return;
    case code::kClockSeconds:
        rxOk_ = reply.checkOk;
        if (rxOk_)
            showClockSeconds(reply.bytes);
        return;
    case code::kSetClockSecondsStatus:
        rxOk_ = accepted;
        if (refused) {
            state_ = SessionState::SetClock;
            emptyBuffer();
            trace("RxInd=0 >After Rec 06 Command< " + dly);
        }
        return;
    case code::kSync:
        if (reply.length == 3)
            trace("CalVal is " + hexByte(reply.byte(1)));
        framer_.remove(reply.length);
        return;
    case code::kReset:
        emptyBuffer();
        return;
    default:
        // The echoes of the PC's own frames, fillers and reports without meaning to the PC.
        framer_.remove(reply.length);
        return;
    }
}

} // namespace kestrova
