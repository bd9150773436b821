// The session loop, its waits and its steps up to the main step; the download, the parser and
// the baton programming live in their own files.
#include "link/CommsSession.h"

#include <algorithm>
#include <cctype>

namespace kestrova {

namespace {

bool isAsciiAlnum(std::uint8_t c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string to_string(SessionState state) {
    return std::to_string(static_cast<int>(state));
}

CommsSession::CommsSession(LinkServices services)
    : s_(std::move(services)), serialTrace_(s_.programDir, s_.sessionNumber) {
    startMs_ = s_.clock.nowMs();
    settings_ = s_.settings();
}

std::uint64_t CommsSession::now() const {
    return s_.clock.nowMs();
}

void CommsSession::trace(const std::string& text) {
    serialTrace_.TraceSerial(pass_, text);
}

std::string CommsSession::message(int number) const {
    return s_.messages.MessageText(number);
}

// The wait of the comms thread. It blocks on the port until bytes arrive or the time is up,
// and runs the parser for every arrival once the station has been found.
void CommsSession::DelayServicing(std::uint64_t ms) {
    trace("In " + std::to_string(ms));
    const std::uint64_t deadline = now() + ms;
    while (!stopping()) {
        if (parserActive_)
            ParseReplies();
        if (now() >= deadline || stopping())
            break;
        if (parserActive_)
            waitForReplyBytes(deadline);
        else
            s_.clock.sleepUntil(deadline, stop_);
    }
    trace("Out");
}

void CommsSession::awaitReply() {
    for (;;) {
        ParseReplies();
        if (rxOk_ || now() >= replyDeadline_ || stopping())
            return;
        waitForReplyBytes(replyDeadline_);
    }
}

void CommsSession::parseUntilDeadline() {
    for (;;) {
        ParseReplies();
        if (now() >= replyDeadline_ || stopping())
            return;
        waitForReplyBytes(replyDeadline_);
    }
}

// The parser cannot act on a frame it has begun before the frame's missing bytes are in, so
// the port may sleep through them instead of waking the thread for each one.
void CommsSession::waitForReplyBytes(std::uint64_t deadlineMs) {
    s_.port.waitForInput(deadlineMs, std::max<std::size_t>(framer_.awaited(), 1), stop_);
}

void CommsSession::send(Bytes frame) {
    txBuf_ = std::move(frame);
    writeTxBuf();
}

void CommsSession::resend() {
    writeTxBuf();
}

// The fixed two-byte frames go out in one write; a frame built in TxBuf goes out one byte per
// write call, as the stations have always been driven: some rely on the gaps between bytes.
void CommsSession::writeTxBuf() {
    if (txBuf_.size() <= 2) {
        if (!txBuf_.empty())
            s_.port.write(txBuf_);
        return;
    }
    for (const std::uint8_t byte : txBuf_)
        s_.port.write(ByteView(&byte, 1));
}

void CommsSession::sendRaw(std::string_view text) {
    Bytes bytes(text.begin(), text.end());
    s_.port.write(bytes);
}

bool CommsSession::sendAndAwait(Bytes frame, std::uint64_t ms) {
    send(std::move(frame));
    rxOk_ = false;
    replyDeadline_ = now() + ms;
    awaitReply();
    return rxOk_;
}

bool CommsSession::secondsClock() const {
    std::string ident = s_.state.batonIdent();
    ident.resize(std::max<std::size_t>(ident.size(), 9), ' ');
    return ident[8] == 'C';
}

bool CommsSession::identNameIs(std::initializer_list<std::string_view> names) const {
    const std::string ident = s_.state.batonIdent();
    const std::string part = ident.size() >= 9 ? ident.substr(5, 4) : std::string();
    for (const std::string_view name : names)
        if (part == name)
            return true;
    return false;
}

void CommsSession::SessionLoop(std::stop_token stop) {
    stop_ = stop;
    while (!stopping()) {
        trace("Before Dly" + std::to_string(dly_));
        DelayServicing(dly_);
        trace("After Dly");
        if (stopping())
            break;
        ++pass_;
        trace("Tmr>" + std::to_string(now()) + " >State= " + to_string(state_) +
              " >Dly= " + std::to_string(dly_));
        settings_ = s_.settings();
        step();
    }
    keepUploadAtEnd();
    EndLoop();
}

void CommsSession::EndLoop() {
    if (!s_.port.setDtr(true))
        trace("Error 20 Set DTR" + std::to_string(s_.state.portNumber()));
    trace("At end I think");
}

void CommsSession::step() {
    switch (state_) {
    case SessionState::Restart:
        return stepRestart();
    case SessionState::LookForBaton:
        return stepLookForBaton();
    case SessionState::BatonCheck:
        return stepBatonCheck();
    case SessionState::ChargePause:
        dly_ = 1000;
        state_ = SessionState::LookForBaton;
        return;
    case SessionState::Identify:
        return stepIdentify();
    case SessionState::SetClock:
        return stepSetClock();
    case SessionState::BeforeMain:
        state_ = SessionState::Main;
        return;
    case SessionState::Main:
        return stepMain();
    case SessionState::ChipEnded:
        return stepChipEnded();
    case SessionState::NextChip:
        return stepNextChip();
    case SessionState::IdRefused:
        return stepIdRefused();
    case SessionState::BatonWrite:
        return stepBatonWrite();
    default:
        // Only the parser and the steps set the state, always to one of the above.
        state_ = SessionState::Restart;
        return;
    }
}

void CommsSession::stepRestart() {
    emptyBuffer();
    trace("RxInd=0 >State=0< " + std::to_string(dly_));
    s_.port.setDtr(true);
    if (!s_.port.isOpen())
        s_.port.open();
    if (s_.state.stationChecked())
        s_.port.setBreak(true);
    s_.state.setLed(LedColour::Yellow);
    s_.state.setCaption("Kestrova");
    dly_ = 500;
    batonPresent_ = false;
    state_ = SessionState::LookForBaton;
}

void CommsSession::stepLookForBaton() {
    IdAutoIncrement();
    s_.state.setGaugeCounting(false);
    recoverInterruptedUpload();
    s_.state.releaseUploadFile(UploadFileUser::Upload);
    s_.state.setStatusText(message(8));
    s_.state.setLed(LedColour::Purple);
    s_.port.setBreak(false);
    s_.port.setDtr(true);
    dly_ = 300;
    state_ = SessionState::BatonCheck;
}

void CommsSession::stepBatonCheck() {
    if (batonPresent_) {
        trace("10 :)");
        s_.state.setLed(LedColour::Lime);
        s_.state.requestBringToFront();
        chipMem_ = 14;
        emptyBuffer();
        rxOk_ = false;
        dly_ = 500;
        state_ = SessionState::Identify;
        return;
    }
    trace("10 :(");
    state_ = SessionState::LookForBaton;
    if (!s_.port.isOpen())
        s_.port.open();
    if (s_.state.stationChecked())
        s_.port.setBreak(true);
    dly_ = 350;
    s_.state.setLed(LedColour::Yellow);
}

void CommsSession::stepIdentify() {
    const std::optional<Reply> info = framer_.front();
    if (rxOk_ && info && info->code == code::kInfo && info->complete) {
        const std::string name(info->bytes.begin() + 3, info->bytes.begin() + 11);
        if (chipMem_ == 14 && name.compare(0, 4, "Kest") == 0)
            chipMem_ = 2; // this model has two memory chips
        s_.state.setStatusText(message(12));
        std::string ident = message(10) + " ";
        for (const char c : name)
            if (isAsciiAlnum(static_cast<std::uint8_t>(c)))
                ident += c;
        s_.state.setLabelText(Label::Id, ident);
        s_.state.setBatonIdent(ident);
        s_.state.setIdentText(ident);
        const std::string version = hexByte(info->byte(1)) + hexByte(info->byte(2));
        s_.state.setLabelText(Label::Version, message(9) + " " + version);
        s_.state.setBatonVersion(version);
        state_ = settings_.updateDateTimeAutomatically ? SessionState::SetClock
                                                       : SessionState::BeforeMain;
        dly_ = 1;
        emptyBuffer();
        s_.state.setClockPollCount(0);
        return;
    }
    if (!sendAndAwait(GetInfoFrame(), 500)) {
        state_ = SessionState::Restart;
        trace("TimeOut with send Get Info");
    }
}

void CommsSession::stepSetClock() {
    s_.state.setGaugeMaximum(12);
    s_.state.setGaugeCounting(true);
    emptyBuffer();
    s_.state.setStatusText(message(11));
    const LocalDateTime pcNow = s_.wallClock.now();
    Bytes frame = secondsClock() ? SetClockSecondsFrame(pcNow) : SetClockBcdFrame(pcNow);
    trace(hexBytes(frame) + " >Tx < " + std::to_string(dly_));
    const bool accepted = sendAndAwait(std::move(frame), 500);
    state_ = SessionState::BeforeMain;
    if (!accepted) {
        state_ = SessionState::Restart;
        trace("TimeOut with Set Clock");
    } else {
        trace("SetClock OK");
    }
}

void CommsSession::stepMain() {
    dly_ = 200;
    // Read once: the window may cancel the id at any moment, and the frame must carry the id
    // this decision was made with.
    if (const std::string id = s_.state.idToSet(); !id.empty()) {
        sendSetId(id);
        return;
    }
    if (chipMem_ > -2) {
        if (!claimUploadFile())
            return;
        dly_ = 1;
        state_ = SessionState::NextChip;
        trace("A ChipMem=" + std::to_string(chipMem_) +
              (s_.state.writePending() ? " True" : " False"));
        s_.state.setGaugeProgress(0);
        s_.state.addGaugeMaximum(42);
        return;
    }
    if (downloadPending_ && settings_.uploadKestrovaData) {
        trace("Synchronize(frmMain.DoRaw)");
        s_.ui.runAndWait([this] { s_.processor.DoRaw(); }, stop_);
        downloadPending_ = false;
        trace("Synchronize(frmMain.DoRaw) End");
        return;
    }
    if (s_.state.writePending()) {
        if (claimUploadFile())
            startBatonWrite();
        return;
    }
    // Read and processed: a report request may use the file while the baton sits here.
    s_.state.releaseUploadFile(UploadFileUser::Upload);
    watchBaton();
}

// "Raw.txt" is also the Reports window's request file. The session writes it only while it
// holds it; while a request holds it the session waits here, the parser running, and tries
// again on the next pass.
bool CommsSession::claimUploadFile() {
    if (s_.state.claimUploadFile(UploadFileUser::Upload))
        return true;
    trace("Raw.txt held by a report request");
    dly_ = 100;
    return false;
}

// The baton has been read: its clock is read every pass, and every new time beeps and
// flashes the caption until a read goes unanswered (the baton was taken off).
void CommsSession::watchBaton() {
    dly_ = 1;
    const auto sendReadClock = [this] {
        emptyBuffer();
        s_.state.setGaugeProgress(0);
        s_.state.setGaugeMaximum(12);
        send(ReadClockFrame(secondsClock()));
        rxOk_ = false;
    };
    if (rxOk_) {
        const std::string timeText = s_.state.label(Label::Time).text;
        if (timeText != lastTimeText_) {
            s_.beeper.beep();
            const std::string caption = s_.state.caption();
            s_.state.setCaption(caption == "Kestrova" ? "Kestrova  -  " + message(114)
                                                      : "Kestrova");
        }
        lastTimeText_ = timeText;
        s_.state.setStatusText(message(12));
        s_.state.setGaugeCounting(false);
        s_.state.setGaugeMaximum(1);
        sendReadClock();
        s_.state.setClockPollCount(0);
    } else {
        const int polls = s_.state.clockPollCount() + 1;
        s_.state.setClockPollCount(polls);
        if (polls % 5 == 0) {
            if (secondsClock()) {
                emptyBuffer();
                s_.state.setGaugeProgress(0);
                s_.state.setGaugeMaximum(12);
                DelayServicing(200);
                send(ReadClockFrame(true));
                rxOk_ = false;
            } else {
                sendReadClock();
            }
        }
    }
    replyDeadline_ = now() + 1500;
    awaitReply();
    state_ = SessionState::Main;
    if (!rxOk_) {
        state_ = SessionState::Restart;
        trace(">TimeOut with Read Clock< " + std::to_string(dly_) + "( " +
              std::to_string(now() - startMs_) + " )");
    }
    if (s_.state.clockPollCount() >= 20)
        state_ = SessionState::Restart;
}

} // namespace kestrova
