// The shared main-window state: one lock for the values, announcements outside it.
#include "core/MainState.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace kestrova {

namespace {

std::size_t slot(Label which) {
    return static_cast<std::size_t>(which);
}

// Assigns and tells whether the value changed.
template <typename T> bool assign(T& target, T value) {
    if (target == value)
        return false;
    target = std::move(value);
    return true;
}

} // namespace

template <typename Change> void MainState::update(MainField field, Change&& change) {
    bool changed = false;
    {
        const std::lock_guard lock(mutex_);
        changed = change();
    }
    if (changed)
        notify(field);
}

void MainState::notify(MainField field) {
    std::map<int, Listener> listeners;
    {
        const std::lock_guard lock(listenersMutex_);
        listeners = listeners_;
    }
    // A copy, so that a listener may subscribe, unsubscribe or write the state itself.
    for (const auto& entry : listeners)
        entry.second(field);
}

std::string MainState::statusText() const {
    const std::lock_guard lock(mutex_);
    return statusText_;
}
void MainState::setStatusText(std::string text) {
    update(MainField::StatusText, [&] { return assign(statusText_, std::move(text)); });
}

std::string MainState::batonIdent() const {
    const std::lock_guard lock(mutex_);
    return batonIdent_;
}
void MainState::setBatonIdent(std::string text) {
    update(MainField::BatonIdent, [&] { return assign(batonIdent_, std::move(text)); });
}
std::string MainState::batonVersion() const {
    const std::lock_guard lock(mutex_);
    return batonVersion_;
}
void MainState::setBatonVersion(std::string text) {
    update(MainField::BatonVersion, [&] { return assign(batonVersion_, std::move(text)); });
}

std::string MainState::identText() const {
    const std::lock_guard lock(mutex_);
    return identText_;
}
void MainState::setIdentText(std::string text) {
    update(MainField::BatonIdent, [&] { return assign(identText_, std::move(text)); });
}

LabelState MainState::label(Label which) const {
    const std::lock_guard lock(mutex_);
    return labels_[slot(which)];
}
void MainState::setLabelText(Label which, std::string text) {
    update(MainField::Labels, [&] { return assign(labels_[slot(which)].text, std::move(text)); });
}
void MainState::setLabelColour(Label which, TextColour colour) {
    update(MainField::Labels, [&] { return assign(labels_[slot(which)].colour, colour); });
}
void MainState::setLabelVisible(Label which, bool visible) {
    update(MainField::Labels, [&] { return assign(labels_[slot(which)].visible, visible); });
}

LedColour MainState::led() const {
    const std::lock_guard lock(mutex_);
    return led_;
}
void MainState::setLed(LedColour colour) {
    update(MainField::Led, [&] { return assign(led_, colour); });
}

GaugeState MainState::gauge() const {
    const std::lock_guard lock(mutex_);
    return gauge_;
}
void MainState::setGaugeProgress(std::int64_t progress) {
    update(MainField::Gauge, [&] { return assign(gauge_.progress, progress); });
}
void MainState::setGaugeMaximum(std::int64_t maximum) {
    update(MainField::Gauge, [&] { return assign(gauge_.maximum, maximum); });
}
void MainState::addGaugeMaximum(std::int64_t amount) {
    update(MainField::Gauge, [&] { return assign(gauge_.maximum, gauge_.maximum + amount); });
}
void MainState::advanceGauge() {
    update(MainField::Gauge, [&] {
        // A progress bar stops at its maximum.
        if (gauge_.progress >= gauge_.maximum)
            return false;
        ++gauge_.progress;
        return true;
    });
}
void MainState::setGaugeBlue(bool blue) {
    update(MainField::Gauge, [&] { return assign(gauge_.blue, blue); });
}

std::string MainState::caption() const {
    const std::lock_guard lock(mutex_);
    return caption_;
}
void MainState::setCaption(std::string caption) {
    update(MainField::Caption, [&] { return assign(caption_, std::move(caption)); });
}

bool MainState::imageVisible() const {
    const std::lock_guard lock(mutex_);
    return imageVisible_;
}
void MainState::setImageVisible(bool visible) {
    update(MainField::Image, [&] { return assign(imageVisible_, visible); });
}

void MainState::requestBringToFront() {
    notify(MainField::BringToFront);
}

std::string MainState::idToSet() const {
    const std::lock_guard lock(mutex_);
    return idToSet_;
}
void MainState::setIdToSet(std::string id) {
    update(MainField::IdToSet, [&] { return assign(idToSet_, std::move(id)); });
}
std::string MainState::idFieldText() const {
    const std::lock_guard lock(mutex_);
    return idFieldText_;
}
void MainState::setIdFieldText(std::string text) {
    update(MainField::IdField, [&] { return assign(idFieldText_, std::move(text)); });
}
bool MainState::autoIncrementId() const {
    const std::lock_guard lock(mutex_);
    return autoIncrementId_;
}
void MainState::setAutoIncrementId(bool on) {
    update(MainField::AutoIncrementId, [&] { return assign(autoIncrementId_, on); });
}

int MainState::portNumber() const {
    const std::lock_guard lock(mutex_);
    return portNumber_;
}
void MainState::setPortNumber(int port) {
    update(MainField::PortNumber, [&] { return assign(portNumber_, port); });
}
bool MainState::stationChecked() const {
    const std::lock_guard lock(mutex_);
    return stationChecked_;
}
void MainState::setStationChecked(bool checked) {
    update(MainField::StationChecked, [&] { return assign(stationChecked_, checked); });
}

bool MainState::gaugeCounting() const {
    const std::lock_guard lock(mutex_);
    return gaugeCounting_;
}
void MainState::setGaugeCounting(bool counting) {
    const std::lock_guard lock(mutex_);
    gaugeCounting_ = counting;
}
int MainState::clockPollCount() const {
    const std::lock_guard lock(mutex_);
    return clockPollCount_;
}
void MainState::setClockPollCount(int count) {
    const std::lock_guard lock(mutex_);
    clockPollCount_ = count;
}

void MainState::setWriteStore(const std::vector<StoreRecord>& records) {
    if (records.size() > kStoreCapacity)
        throw std::length_error("the baton-write store holds at most 110 records");
    update(MainField::WriteStore, [&] {
        std::copy(records.begin(), records.end(), writeStore_.begin());
        storeLen_ = static_cast<std::int64_t>(records.size());
        // StoreIndex belongs to the write in progress, which sets it when it begins.
        writePending_ = true;
        ++programming_;
        return true;
    });
}
std::optional<MainState::PendingWrite> MainState::pendingWrite() const {
    const std::lock_guard lock(mutex_);
    if (!writePending_)
        return std::nullopt;
    const auto end = writeStore_.begin() + storeLen_;
    return PendingWrite{programming_, std::vector<StoreRecord>(writeStore_.begin(), end)};
}
bool MainState::finishWrite(std::uint64_t programming) {
    bool cleared = false;
    update(MainField::WriteStore, [&] {
        cleared = programming == programming_ && writePending_;
        if (cleared)
            writePending_ = false;
        return cleared;
    });
    return cleared;
}
std::int64_t MainState::storeLen() const {
    const std::lock_guard lock(mutex_);
    return storeLen_;
}
std::optional<StoreRecord> MainState::storeRecord(std::int64_t index) const {
    const std::lock_guard lock(mutex_);
    if (index < 1 || index > storeLen_)
        return std::nullopt;
    return writeStore_[static_cast<std::size_t>(index - 1)];
}
std::int64_t MainState::storeIndex() const {
    const std::lock_guard lock(mutex_);
    return storeIndex_;
}
void MainState::setStoreIndex(std::int64_t index) {
    const std::lock_guard lock(mutex_);
    storeIndex_ = index;
}
bool MainState::writePending() const {
    const std::lock_guard lock(mutex_);
    return writePending_;
}
void MainState::setWritePending(bool pending) {
    update(MainField::WriteStore, [&] { return assign(writePending_, pending); });
}

bool MainState::closeRequested() const {
    const std::lock_guard lock(mutex_);
    return closeRequested_;
}
void MainState::setCloseRequested(bool requested) {
    const std::lock_guard lock(mutex_);
    closeRequested_ = requested;
}

bool MainState::claimUploadFile(UploadFileUser user) {
    const std::lock_guard lock(mutex_);
    if (uploadFileUser_ != UploadFileUser::None && uploadFileUser_ != user)
        return false;
    uploadFileUser_ = user;
    return true;
}

void MainState::releaseUploadFile(UploadFileUser user) {
    const std::lock_guard lock(mutex_);
    if (uploadFileUser_ == user)
        uploadFileUser_ = UploadFileUser::None;
}

UploadFileUser MainState::uploadFileUser() const {
    const std::lock_guard lock(mutex_);
    return uploadFileUser_;
}

int MainState::subscribe(Listener listener) {
    const std::lock_guard lock(listenersMutex_);
    listeners_.emplace(nextListener_, std::move(listener));
    return nextListener_++;
}

void MainState::unsubscribe(int id) {
    const std::lock_guard lock(listenersMutex_);
    listeners_.erase(id);
}

} // namespace kestrova
