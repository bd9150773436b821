// `ParseReplies`: everything the station and the baton send passes through here. Bytes are
// collected in RxBuf; the code at its front says how many bytes the frame needs and what to
// do with it. A reply whose check byte is wrong is not consumed: it blocks the buffer until
// the session empties it (a download re-requests the record, other waits time out).
//
//   code  needs  frame                               code  needs  frame
//   01    2      01 5E echo / 01 0D announcement     0E    10     0E d1..d7 rc ck  record
//   02    12     02 v1 v2 name*8 ck  info            10    3      10 st ck  write status
//   04    10     04 cc yy mm dd hh nn ss dly ck      12    3      12 st ck  set-end status
//   06/36 3      status of Set Clock                 22/28 3      voltage / charge, no check
//   08    3      status of Set Id                    24    5      24 i1 i2 i3 ck  Id button
//   0A    4      0A hi lo ck  memory size            34    6      34 v0..v3 ck  seconds clock
//   0C    3      status of Set Pointer               55    1/3    sync echo / calibration
//
// Codes 03 05 07 09 0B 0D 0F 11 33 35 are the echoes of the PC's own frames.
#include "link/CommsSession.h"

namespace kestrova {

namespace {

// The bytes a frame starting with `code` needs before the parser acts on it, as in the table
// above. Never more than the parser waits for: a wait that counts on it must not sleep through
// the byte that completes a frame.
std::size_t frameLength(std::uint8_t first) {
    switch (first) {
    case code::kGetInfo:
    case code::kReadClockBcd:
    case code::kReadClockSeconds:
    case 0xF0:
    case 0xFE:
    case 0xFF:
        return 2;
    case code::kSetClockBcdStatus:
    case code::kSetIdStatus:
    case code::kGetSize:
    case code::kSetPointerStatus:
    case code::kReadNext:
    case code::kWriteRecordStatus:
    case code::kSetEndStatus:
    case code::kVoltage:
    case code::kCharge:
    case 0x2A:
    case 0x2C:
    case code::kSetClockSecondsStatus:
        return 3;
    case code::kSize:
        return 4;
    case code::kSetEnd:
    case code::kIdButton:
        return 5;
    case code::kSetId:
    case code::kSetClockSeconds:
    case code::kSetPointer:
    case code::kButtonTime:
    case code::kClockSeconds:
        return 6;
    case code::kClockBcd:
    case code::kSetClockBcd:
    case code::kRecord:
        return 10;
    case code::kWriteRecord:
        return 11;
    case code::kInfo:
        return 12;
    default:
        return 1; // taken or dropped as soon as it is there (00, 55, 81, unknown codes)
    }
}

} // namespace

bool CommsSession::checkOk(std::size_t length) const {
    return rxBuf_.size() >= length &&
           Crc8(ByteView(rxBuf_.data(), length - 1)) == rxBuf_[length - 1];
}

void CommsSession::removeBytes(std::size_t n) {
    rxBuf_.erase(rxBuf_.begin(),
                 rxBuf_.begin() + static_cast<std::ptrdiff_t>(std::min(n, rxBuf_.size())));
}

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
        rxBuf_.push_back(byte);
        if (counting)
            s_.state.advanceGauge();
        else if (state_ != kBeforeMain)
            s_.state.setGaugeProgress(0);
        if (rxBuf_.size() > 100) {
            emptyBuffer();
            state_ = kRestart;
        }
        if (!batonPresent_ && rxBuf_.size() >= 2 &&
            rxBuf_[rxBuf_.size() - 2] == kBatonAnnouncement[0] && byte == kBatonAnnouncement[1])
            batonPresent_ = true;
    }
    // The busy loop this replaces met each frame at its own call; here one call acts on the
    // frames in turn while they are complete and each consumes bytes.
    for (;;) {
        if (rxOk_) {
            if (!rxBuf_.empty() && traced)
                trace(hexBytes(rxBuf_) + ">RxOk< " + std::to_string(dly_));
            return;
        }
        if (rxBuf_.empty())
            return;
        if (traced)
            trace(hexBytes(rxBuf_) + ">Not RxOk< " + std::to_string(dly_) + "( " +
                  std::to_string(now() - startMs_) + " )");
        const std::size_t sizeBefore = rxBuf_.size();
        const std::uint8_t codeBefore = rxBuf_[0];
        actOnFirstReply();
        if (!rxBuf_.empty() && rxBuf_.size() == sizeBefore && rxBuf_[0] == codeBefore)
            return; // the frame waits for more bytes, or blocks the buffer
    }
}

// Bytes still missing from the frame at the front of RxBuf; 0 when the buffer is empty or the
// frame is complete and waits for the session.
std::size_t CommsSession::bytesAwaited() const {
    if (rxBuf_.empty())
        return 0;
    const std::size_t length = frameLength(rxBuf_[0]);
    return length > rxBuf_.size() ? length - rxBuf_.size() : 0;
}

void CommsSession::actOnFirstReply() {
    const std::size_t n = rxBuf_.size();
    const std::string dly = tracing() ? std::to_string(dly_) : std::string();
    switch (rxBuf_[0]) {
    case 0x00:
        removeBytes(1);
        return;
    case code::kGetInfo:
        if (n < 2)
            return;
        for (std::size_t i = 0; i + 1 < rxBuf_.size(); ++i) {
            if (rxBuf_[i] == kBatonAnnouncement[0] && rxBuf_[i + 1] == kBatonAnnouncement[1]) {
                batonPresent_ = true;
                emptyBuffer();
                sendRaw(kSyncBurst);
                break;
            }
        }
        if (rxBuf_.size() >= 2 && rxBuf_[1] == 0x5E) {
            rxOk_ = false;
            removeBytes(2);
        }
        return;
    case code::kInfo:
        s_.state.setLabelVisible(Label::NoData, false);
        if (n >= 12) {
            rxOk_ = checkOk(12);
            trace(hexByte(Crc8(ByteView(rxBuf_.data(), 11))));
        }
        return;
    case code::kReadClockBcd:
    case code::kReadClockSeconds:
        rxOk_ = false;
        if (n >= 2)
            removeBytes(2);
        return;
    case code::kClockBcd:
        if (n >= 10) {
            rxOk_ = checkOk(10);
            if (rxOk_)
                showClockBcd();
        }
        return;
    case code::kSetClockBcd:
        if (n >= 10)
            removeBytes(10);
        return;
    case code::kSetClockBcdStatus:
        if (n >= 3) {
            rxOk_ = checkOk(3) && rxBuf_[1] == 1;
            if (!rxOk_) {
                state_ = kSetClock;
                emptyBuffer();
                trace("RxInd=0 >After Rec 06 Command< " + dly);
            }
        }
        return;
    case code::kSetId:
    case code::kSetClockSeconds:
        if (n >= 6)
            removeBytes(6);
        return;
    case code::kSetIdStatus:
        if (n >= 3) {
            const bool ok = checkOk(3);
            rxOk_ = ok && rxBuf_[1] == 1;
            if (ok && rxBuf_[1] == 0) {
                state_ = kIdRefused;
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
                state_ = kIdentify;
            }
        }
        return;
    case code::kGetSize:
        if (n >= 3)
            removeBytes(3);
        return;
    case code::kSize:
        if (n >= 4) {
            rxOk_ = checkOk(4);
            trace(hexByte(Crc8(ByteView(rxBuf_.data(), 3))));
            if (rxOk_) {
                sizeReply_ = static_cast<std::uint16_t>(rxBuf_[1] * 256 + rxBuf_[2]);
                sizeReplyEmptyFlag_ = rxBuf_[1] == 0x80;
                emptyBuffer();
            }
        }
        return;
    case code::kSetPointer:
        if (n >= 6) {
            removeBytes(6);
            replyDeadline_ = now() + 500;
        }
        return;
    case code::kSetPointerStatus:
        if (n >= 3) {
            const bool ok = checkOk(3);
            rxOk_ = ok && rxBuf_[1] == 1;
            if (ok && rxBuf_[1] == 0) {
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
        }
        return;
    case code::kReadNext:
        // The echo is dropped once a byte of the next frame is there.
        if (n >= 3) {
            removeBytes(2);
            replyDeadline_ = now() + 1500;
        }
        return;
    case code::kRecord:
        if (n >= 10) {
            rxOk_ = checkOk(10);
            if (rxOk_)
                recordStep();
        }
        return;
    case code::kWriteRecord:
        if (n >= 11)
            removeBytes(10);
        return;
    case code::kWriteRecordStatus:
        if (n >= 3) {
            rxOk_ = checkOk(3) && rxBuf_[1] == 1;
            removeBytes(3);
        }
        return;
    case code::kSetEnd:
        if (n >= 5)
            removeBytes(5);
        return;
    case code::kSetEndStatus:
        if (n >= 3 && checkOk(3) && rxBuf_[1] <= 1) {
            state_ = kMain;
            if (rxBuf_[1] == 0)
                trace("RxInd=0 >After Rec 12 Command< " + dly);
            emptyBuffer();
            rxOk_ = true;
            trace("RxInd=0 >After Rec 12 Command B < " + dly);
        }
        return;
    case code::kVoltage:
        if (n >= 3) {
            trace("Voltage =" + std::to_string(rxBuf_[1] / 51.0) + "V");
            removeBytes(3);
            rxOk_ = true;
        }
        return;
    case code::kIdButton:
        if (n >= 5) {
            rxOk_ = checkOk(5);
            if (rxOk_)
                IdButtonStep();
        }
        return;
    case code::kButtonTime:
        if (n >= 6) {
            trace("ButtonTime =" + hexByte(rxBuf_[1]) + hexByte(rxBuf_[2]) + hexByte(rxBuf_[3]) +
                  hexByte(rxBuf_[4]));
            s_.beeper.beep();
            removeBytes(6);
        }
        return;
    case code::kCharge:
        if (n >= 3) {
            trace("Voltage =" + std::to_string(rxBuf_[1] / 51.0) + "V");
            if (rxBuf_[1] > 102)
                state_ = kChargePause;
            removeBytes(3);
        }
        return;
    case 0x2A:
    case 0x2C:
        if (n >= 3)
            removeBytes(3);
        return;
    case code::kClockSeconds:
        if (n >= 6) {
            rxOk_ = checkOk(6);
            if (rxOk_)
                showClockSeconds();
        }
        return;
    case code::kSetClockSecondsStatus:
        if (n >= 3) {
            const bool ok = checkOk(3);
            rxOk_ = ok && rxBuf_[1] == 1;
            if (ok && rxBuf_[1] == 0) {
                state_ = kSetClock;
                emptyBuffer();
                trace("RxInd=0 >After Rec 06 Command< " + dly);
            }
        }
        return;
    case code::kSync:
        // A lone 55 is the echo of the sync burst; 55 vv ck a calibration report.
        if (n >= 3 && checkOk(3)) {
            trace("CalVal is " + hexByte(rxBuf_[1]));
            removeBytes(3);
        } else {
            removeBytes(1);
        }
        return;
    case code::kReset:
        emptyBuffer();
        return;
    case 0xF0:
        if (n >= 2)
            while (!rxBuf_.empty() && rxBuf_[0] == 0xF0)
                removeBytes(1);
        return;
    case 0xFE:
    case 0xFF:
        if (n >= 2)
            removeBytes(1);
        return;
    default:
        emptyBuffer();
        trace("RxInd=0 >After Rec funny Command< " + dly);
        resend();
        return;
    }
}

} // namespace kestrova
