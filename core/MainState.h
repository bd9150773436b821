// The main-window state that the comms thread, upload processing and the windows share: the
// status line, the baton labels, the LED, the progress bar, the caption, the id to give the next
// baton and the baton-write store. Every read and write takes one lock, so each exchange is a
// whole value; every change is announced to the subscribers on the writer's thread, after the
// lock is released, so a window can post it to its own thread and redraw from a fresh read.
// Standard library only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

enum class LedColour { Yellow, Purple, Lime, Green };

// Who writes "Raw.txt" of the program directory: the upload session (download, then its
// processing) or a report request of the Reports window. Both use the one file, so each claims
// it first and the other waits or refuses until it is released.
enum class UploadFileUser { None, Upload, Request };
enum class TextColour { Normal, Red, Blue };

// A label of the main window as the logic sees it.
struct LabelState {
    std::string text;
    TextColour colour = TextColour::Normal;
    bool visible = true;

    friend bool operator==(const LabelState&, const LabelState&) = default;
};

enum class Label {
    Id,      // lblID
    Version, // lblVer
    Date,    // lblDate
    Time,    // lblTime
    Extra,   // lblExtra
    NoData,  // Label4
};

struct GaugeState {
    std::int64_t progress = 0;
    std::int64_t maximum = 100;
    bool blue = false; // the foreground colour the station search gives it

    friend bool operator==(const GaugeState&, const GaugeState&) = default;
};

// What changed; a subscriber reads the new value itself.
enum class MainField {
    StatusText,
    BatonIdent,
    BatonVersion,
    Labels,
    Led,
    Gauge,
    Caption,
    Image,
    IdToSet,
    IdField,
    AutoIncrementId,
    PortNumber,
    StationChecked,
    WriteStore,
    // Not a value: the comms thread asks for the window to be restored and brought forward.
    BringToFront,
};

// One failed-patrol programming record: the seven data bytes of a memory record.
using StoreRecord = std::array<std::uint8_t, 7>;

class MainState {
public:
    static constexpr std::size_t kStoreCapacity = 110;

    using Listener = std::function<void(MainField)>;

    std::string statusText() const;
    void setStatusText(std::string text);

    std::string batonIdent() const;
    void setBatonIdent(std::string text);
    std::string batonVersion() const;
    void setBatonVersion(std::string text);
    // The baton's identity as the session shows it in lblID: BatonIdent, followed by the
    // checkpoint delay when the baton reported one. It names the baton in the upload file's
    // header and in processing's log entries; announced as BatonIdent.
    std::string identText() const;
    void setIdentText(std::string text);

    LabelState label(Label which) const;
    void setLabelText(Label which, std::string text);
    void setLabelColour(Label which, TextColour colour);
    void setLabelVisible(Label which, bool visible);

    LedColour led() const;
    void setLed(LedColour colour);

    GaugeState gauge() const;
    void setGaugeProgress(std::int64_t progress);
    void setGaugeMaximum(std::int64_t maximum);
    void addGaugeMaximum(std::int64_t amount);
    void advanceGauge();
    void setGaugeBlue(bool blue);

    std::string caption() const;
    void setCaption(std::string caption);

    bool imageVisible() const;
    void setImageVisible(bool visible);

    void requestBringToFront();

    // The id to give the next baton; empty for none.
    std::string idToSet() const;
    void setIdToSet(std::string id);
    // The text of the Id number window's field, which the auto-increment counts up.
    std::string idFieldText() const;
    void setIdFieldText(std::string text);
    bool autoIncrementId() const;
    void setAutoIncrementId(bool on);

    int portNumber() const;
    void setPortNumber(int port);
    bool stationChecked() const;
    void setStationChecked(bool checked);

    bool gaugeCounting() const;
    void setGaugeCounting(bool counting);
    int clockPollCount() const;
    void setClockPollCount(int count);

    // The baton-write store. Preparers replace it whole; records beyond the capacity are
    // refused (std::length_error) rather than written past the store.
    void setWriteStore(const std::vector<StoreRecord>& records);

    // One programming as the comms thread writes it: a copy of the store taken whole when the
    // write begins, and the number of the programming it belongs to. A new programming made
    // meanwhile replaces the store but never this copy, so a baton never holds records of two
    // programmings.
    struct PendingWrite {
        std::uint64_t programming = 0;
        std::vector<StoreRecord> records;
    };
    // The waiting programming; no value when none waits.
    std::optional<PendingWrite> pendingWrite() const;
    // A baton holds `programming`: WritePending is cleared unless a newer programming came
    // while it was written, which then waits for the next baton. Returns whether it cleared.
    bool finishWrite(std::uint64_t programming);
    std::int64_t storeLen() const;
    // Record `index` of the store, counted from 1; no value outside 1 … StoreLen.
    std::optional<StoreRecord> storeRecord(std::int64_t index) const;
    std::int64_t storeIndex() const;
    void setStoreIndex(std::int64_t index);
    bool writePending() const;
    void setWritePending(bool pending);

    bool closeRequested() const;
    void setCloseRequested(bool requested);

    // Claims "Raw.txt" for `user`: true when it was free or is held by `user` already, false
    // when the other user holds it. Never waits.
    bool claimUploadFile(UploadFileUser user);
    // Gives the file back; does nothing when `user` does not hold it.
    void releaseUploadFile(UploadFileUser user);
    UploadFileUser uploadFileUser() const;

    int subscribe(Listener listener);
    void unsubscribe(int id);

private:
    // Applies `change` under the lock; announces `field` when it reports a change.
    template <typename Change> void update(MainField field, Change&& change);
    void notify(MainField field);

    mutable std::mutex mutex_;
    std::string statusText_;
    std::string batonIdent_;
    std::string batonVersion_;
    std::string identText_;
    // lblExtra and Label4 are warnings, hidden until the session shows them.
    std::array<LabelState, 6> labels_{LabelState{},
                                      LabelState{},
                                      LabelState{},
                                      LabelState{},
                                      LabelState{"", TextColour::Normal, false},
                                      LabelState{"", TextColour::Normal, false}};
    LedColour led_ = LedColour::Yellow;
    GaugeState gauge_;
    std::string caption_ = "Kestrova";
    bool imageVisible_ = false;
    std::string idToSet_;
    std::string idFieldText_ = "0000";
    bool autoIncrementId_ = false;
    int portNumber_ = 0;
    bool stationChecked_ = false;
    bool gaugeCounting_ = false;
    int clockPollCount_ = 0;
    std::array<StoreRecord, kStoreCapacity> writeStore_{};
    std::int64_t storeLen_ = 0;
    std::uint64_t programming_ = 0;
    std::int64_t storeIndex_ = 0;
    bool writePending_ = false;
    bool closeRequested_ = false;
    UploadFileUser uploadFileUser_ = UploadFileUser::None;

    mutable std::mutex listenersMutex_;
    std::map<int, Listener> listeners_;
    int nextListener_ = 0;
};

} // namespace kestrova
