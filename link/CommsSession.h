// The comms thread's work, `TCommsThread`'s body: the station search, then the upload session
// for ever; the reply parser `ParseReplies` that runs during every wait; the download of the
// memory chips into "Raw.txt" and their clearing; the id number, the baton write and the Id
// buttons read at the station. Everything here runs on the comms thread; what it shares with
// the windows goes through MainState, what must run on the user-interface thread through the
// UiThread hand-over. May depend on core and on the port and clock interfaces, nothing else.
#pragma once

#include "core/AdminLog.h"
#include "core/Desktop.h"
#include "core/MainState.h"
#include "core/MessageTable.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "link/Frames.h"
#include "link/HandOver.h"
#include "link/ReplyFramer.h"
#include "link/SerialPort.h"
#include "link/SerialTrace.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>

namespace kestrova {

// What the session works with. Every object outlives the session.
struct LinkServices {
    std::filesystem::path programDir;
    std::string sessionNumber; // names the serial trace file
    SerialPort& port;
    LinkClock& clock; // monotonic milliseconds, and the waits
    MainState& state;
    const MessageTable& messages;
    SettingsFile& settingsFile;
    // The settings record as it stands; called at every pass, on the comms thread, so the
    // owner must hand out a copy taken under its own guard.
    std::function<Settings()> settings;
    const Clock& wallClock; // the PC's local date and time
    Beeper& beeper;
    UiThread& ui;
    RawProcessor& processor;
    AdminLog& adminLog;
    IdButtonSink& idButtons;
};

// The steps of the upload session, by the numbers the trace shows.
enum class SessionState : int {
    Restart = 0,
    LookForBaton = 5,
    BatonCheck = 10,
    ChargePause = 20,
    Identify = 130,
    SetClock = 140,
    BeforeMain = 155,
    Main = 160,
    ChipEnded = 180,
    NextChip = 200,
    IdRefused = 220,
    BatonWrite = 250,
};

std::string to_string(SessionState state);

class CommsSession {
public:
    explicit CommsSession(LinkServices services);

    // Finds the station (once per start). Returns when it is found or a stop is requested.
    void StationSearch(std::stop_token stop);
    // The session loop, until a stop is requested. Errors are not caught here.
    void SessionLoop(std::stop_token stop);
    // Sets DTR on, as the loop's end and the closing window do.
    void EndLoop();

    SessionState currentState() const { return state_; }

private:
    // Waiting and sending.
    void DelayServicing(std::uint64_t ms);
    void awaitReply();         // until RxOk or ReplyDeadline
    void parseUntilDeadline(); // until ReplyDeadline, whatever RxOk
    void waitForReplyBytes(std::uint64_t deadlineMs);
    bool sendAndAwait(Bytes frame, std::uint64_t ms);
    void send(Bytes frame);
    void resend();
    void writeTxBuf();
    void sendRaw(std::string_view text);
    bool claimUploadFile();
    std::uint64_t now() const;
    bool stopping() const { return stop_.stop_requested(); }
    void trace(const std::string& text);
    bool tracing() { return serialTrace_.enabled(); }
    std::string readReply(std::string& replyText);
    std::string message(int number) const;

    // The session's steps.
    void step();
    void stepRestart();
    void stepLookForBaton();
    void stepBatonCheck();
    void stepIdentify();
    void stepSetClock();
    void stepMain();
    void watchBaton();
    void stepNextChip();
    void downloadChip();
    void stepChipEnded();
    void startUpload();
    void commitUploadFile();
    void recoverInterruptedUpload();
    void holdUnsettledLines(int chip);
    void settleHeldLines(int chip, bool chipEmpty);
    void storeHeldLines();
    void keepUploadAtEnd();
    void stepIdRefused();

    // Baton programming.
    void IdAutoIncrement();
    void sendSetId(const std::string& id);
    void startBatonWrite();
    void stepBatonWrite();
    void IdButtonStep(ByteView b);

    // The reply parser.
    void ParseReplies();
    void actOnFirstReply(const Reply& reply);
    void emptyBuffer() { framer_.clear(); }
    void recordStep(const RecordData& data);
    void showClockBcd(ByteView b);
    void showClockSeconds(ByteView b);
    std::string downloadStatus() const;
    std::string chipStatus(const std::string& text) const;

    bool secondsClock() const;
    bool identNameIs(std::initializer_list<std::string_view> names) const;

    LinkServices s_;
    SerialTrace serialTrace_;
    std::stop_token stop_;
    Settings settings_;

    SessionState state_ = SessionState::Restart;
    std::uint64_t dly_ = 100;
    bool rxOk_ = false;
    int chipMem_ = 14;
    bool batonPresent_ = false;
    bool downloadPending_ = false;
    // The programming being written into the baton, copied when its write began.
    MainState::PendingWrite writing_;
    bool parserActive_ = false;
    std::uint64_t replyDeadline_ = 0;
    std::string lastTimeText_;
    std::uint64_t startMs_ = 0;
    std::uint64_t pass_ = 0;
    ReplyFramer framer_; // RxBuf
    Bytes txBuf_;
    std::optional<std::uint16_t> sizeReply_; // the last accepted size reply's value
    bool sizeReplyEmptyFlag_ = false;        // its high byte was 0x80
    std::int64_t pktCount_ = 0;
    std::int64_t memSize_ = 0;
    int timeoutCount_ = 0;
    // Size of "Raw.txt" up to the last line whose chip has been cleared (see Recovery.cpp).
    std::uintmax_t committedSize_ = 0;
    std::uintmax_t headerSize_ = 0;
    Lines chipLines_; // the lines of the chip being read
    // The lines of a chip whose clearing was sent but never confirmed, until the same baton
    // tells whether it was carried out.
    struct HeldLines {
        std::string ident;
        std::string header;
        int chip = 0;
        Lines lines;
    };
    std::optional<HeldLines> held_;
    // The last Set End status was a refusal: the chip, or the written records, were not ended.
    bool setEndRefused_ = false;
    std::filesystem::path uploadFile_; // "Raw.txt" as this upload created it
};

} // namespace kestrova
