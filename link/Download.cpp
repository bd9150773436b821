// Reading the memory chips into "Raw.txt" and clearing them. A chip is read record by record:
// Set Pointer to the next record wanted, then Read Next after every accepted record; a record
// with a wrong check byte stops the flow, and after 1.5 s of silence the chip is asked again
// from the record after the last one accepted, so no record is lost or written twice. A chip
// is cleared only after its last record is in the file.
#include "core/TextFile.h"
#include "link/CommsSession.h"
#include "link/UploadFile.h"

namespace kestrova {

namespace {
constexpr std::int64_t kMaxChipBytes = 32800;
constexpr int kTimeoutsBeforeGivingUp = 6;
} // namespace

void CommsSession::recordStep(const RecordData& data) {
    replyDeadline_ = now() + 1500;
    if (pktCount_ == 0) {
        // Record 0 is the chip's header record: it starts the file, but is no clocking.
        pktCount_ = 1;
        trace("Inc PktCount A < " + std::to_string(pktCount_));
        if (!downloadPending_) {
            startUpload();
        }
    } else {
        ++pktCount_;
        trace("Inc PktCount B < " + std::to_string(pktCount_));
        // PktCount counts the header record too: the record at address 8k is packet k.
        const std::string line = clockingLine(data, pktCount_ - 1, s_.wallClock.now());
        appendClockingLine(uploadFile_, line);
        chipLines_.push_back(line);
    }
    if ((pktCount_ + 1) * 8 > memSize_) {
        state_ = SessionState::ChipEnded;
        dly_ = 100;
        framer_.remove(10);
        trace("RxInd=" + std::to_string(framer_.size()) + " >After Rec 0E Command C < " +
              std::to_string(chipMem_));
        return;
    }
    s_.state.setStatusText(downloadStatus());
    framer_.remove(10);
    trace("RxInd=" + std::to_string(framer_.size()) + " >After Rec 0E Command D < " +
          std::to_string(pktCount_) + " " + std::to_string(memSize_ / 8));
    send(ReadNextFrame());
    rxOk_ = false;
    timeoutCount_ = 0;
}

void CommsSession::stepNextChip() {
    s_.state.setStatusText(chipMem_ == 2 ? message(16) : chipStatus(message(16)));
    emptyBuffer();
    trace("RxInd=0 >Send 09 Command< Del=" + std::to_string(chipMem_) + " " + std::to_string(dly_));
    sizeReply_.reset();
    const auto chip = static_cast<std::uint8_t>(chipMem_);
    chipMem_ -= 2;
    if (!sendAndAwait(GetSizeFrame(chip), 500) || !sizeReply_) {
        // A voltage report also ends the wait, but brings no size: counted as no answer.
        state_ = SessionState::Restart;
        trace("TimeOut with Get mem size");
        return;
    }
    emptyBuffer();
    memSize_ = *sizeReply_;
    trace("MemSize=" + std::to_string(memSize_));
    // 0x80 in the high byte is the baton's mark of a chip without data, but a full chip (its
    // header and 4,099 records, 32800 bytes) reads 0x80 0x20 too: that one is read, or a
    // full baton would never be emptied.
    const bool emptyMark = sizeReplyEmptyFlag_ && memSize_ != kMaxChipBytes;
    if (emptyMark || memSize_ < 9) {
        settleHeldLines(chipMem_ + 2, true);
        if (chipMem_ <= -2) {
            if (identNameIs({"Kest", "KEST", "KesC"})) {
                s_.state.setLabelText(Label::NoData, "No Data in Kestrova");
                s_.state.setLabelVisible(Label::NoData, true);
            }
            chipMem_ = -20;
            state_ = SessionState::Main;
            trace("RxInd=0 >After Rec 0A Command B < " + std::to_string(dly_));
        } else {
            state_ = SessionState::NextChip;
            trace("RxInd=0 >After Rec 0A Command C < " + std::to_string(dly_));
        }
        return;
    }
    s_.state.setLabelVisible(Label::NoData, false);
    pktCount_ = 0;
    chipLines_.clear();
    memSize_ = std::min(memSize_, kMaxChipBytes);
    s_.state.setGaugeMaximum(memSize_ + (memSize_ / 8) * 4 + 8);
    s_.state.setGaugeProgress(0);
    if (!settings_.uploadKestrovaData) {
        state_ = SessionState::ChipEnded;
    } else {
        s_.state.setGaugeCounting(true);
        s_.state.setStatusText(downloadStatus());
        timeoutCount_ = 0;
        downloadChip();
    }
    dly_ = 100;
}

void CommsSession::downloadChip() {
    for (;;) {
        s_.state.addGaugeMaximum(20);
        DelayServicing(500);
        trace("RxInd=0 >Send 0B Command< " + std::to_string(pktCount_) + " " +
              hexByte(static_cast<std::uint8_t>(pktCount_ / 256)) + " " +
              hexByte(static_cast<std::uint8_t>(pktCount_ % 256)));
        emptyBuffer();
        send(SetPointerFrame(static_cast<std::uint8_t>(chipMem_ + 2),
                             static_cast<std::uint16_t>(8 * pktCount_)));
        rxOk_ = false;
        replyDeadline_ = now() + 1500;
        // The echo, the status, the Read Next echoes and every record move the deadline on:
        // this lasts while records keep coming and ends 1.5 s after the last one.
        parseUntilDeadline();
        const bool recordsRemain = (pktCount_ + 1) * 8 <= memSize_;
        if (recordsRemain)
            ++timeoutCount_;
        trace("Timeout with Send 0B/0D Command Normal< " + std::to_string(pktCount_));
        if (stopping())
            return;
        if (timeoutCount_ != kTimeoutsBeforeGivingUp && recordsRemain)
            continue;
        if (timeoutCount_ == kTimeoutsBeforeGivingUp) {
            // Abandoned: the lines so far stay, the chip is neither read further nor cleared.
            trace(">Timeout with Send 0B/0D Command< " + std::to_string(pktCount_));
            timeoutCount_ = 0;
        }
        return;
    }
}

void CommsSession::stepChipEnded() {
    settleHeldLines(chipMem_ + 2, false);
    if (settings_.clearKestrovaMemory || s_.state.writePending()) {
        if (!settings_.uploadKestrovaData) {
            const std::string action =
                "Kestrova cleared without an uploaded " + s_.state.identText();
            s_.ui.runAndWait([&] { s_.adminLog.WriteAdminLog("unknown", action); }, stop_);
        }
        s_.state.setStatusText(chipStatus(message(17)));
        s_.state.addGaugeMaximum(7);
        emptyBuffer();
        trace("RxInd=0 >Send 11 Command (Clr Mem)< " + std::to_string(dly_));
        // End address 8 leaves only the header record in the chip.
        setEndRefused_ = false;
        if (!sendAndAwait(SetEndFrame(static_cast<std::uint8_t>(chipMem_ + 2), 0x0008), 500)) {
            state_ = SessionState::Restart;
            trace("TimeOut with Clear Mem");
            holdUnsettledLines(chipMem_ + 2);
        } else if (setEndRefused_) {
            // Not cleared: the baton keeps the records, as with the clearing off.
            trace("Clear Mem refused");
        } else if (downloadPending_) {
            commitUploadFile(); // this chip's lines now exist only in the file
        }
        chipLines_.clear();
        return;
    }
    if (chipMem_ <= -2) {
        state_ = SessionState::Main;
        dly_ = 10;
        trace("RxInd=0 >180 Timer End of download gt 160< " + std::to_string(dly_));
        return;
    }
    state_ = SessionState::NextChip;
    trace("RxInd=0 >180 Timer gt 200< " + std::to_string(dly_));
}

} // namespace kestrova
