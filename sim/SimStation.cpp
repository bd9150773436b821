// The simulated station: an event queue in simulated time. Each byte the PC writes reaches
// the station one character time after the line is free; the echo and the baton's replies
// share the one line back to the PC, so they queue behind each other as on the real wire.
//
//   PC -> station  01 5E                    Get Info
//   station -> PC  01 5E                    echo (DTR on)
//                  02 v1 v2 n1..n8 ck       the baton's reply, after its latency
#include "sim/SimStation.h"

#include "core/DateTime.h"

#include <utility>

namespace kestrova::sim {

namespace {

// Command lengths by code, check byte included.
std::size_t commandLength(std::uint8_t code) {
    switch (code) {
    case code::kGetInfo:
    case code::kReadClockBcd:
    case code::kReadClockSeconds:
    case code::kReadNext:
        return 2;
    case code::kGetSize:
        return 3;
    case code::kSetEnd:
        return 5;
    case code::kSetClockSeconds:
    case code::kSetId:
    case code::kSetPointer:
        return 6;
    case code::kSetClockBcd:
    case code::kWriteRecord:
        return 10;
    default:
        return 0;
    }
}

// A gap this long between two bytes ends a half-received command.
constexpr std::int64_t kCommandGapNs = 20'000'000;

int fromBcd(std::uint8_t byte) {
    return (byte >> 4U) * 10 + (byte & 0x0F);
}

} // namespace

SimStation::SimStation(SimClock& clock, DeviceKind kind) : clock_(clock), kind_(kind) {}

std::int64_t SimStation::time() const {
    return inEvent_ ? eventTime_ : clock_.nowNs();
}

void SimStation::schedule(std::int64_t at, EventKind kind, std::function<void()> event) {
    events_.emplace(at, Event{std::move(event), kind});
}

// Whatever a byte that reaches the station causes comes back over the line, a character time
// at least after it, and the bytes to the PC come a character apart (but for a stray byte,
// which comes with another); so a wait for `bytes` more bytes need not wake before then. The
// events it sleeps over run, in order and at their own times, when it catches up. A caller's
// action is due at its time.
std::int64_t SimStation::nextInputPossibleNs(std::int64_t deadlineNs, std::size_t bytes) const {
    const std::int64_t rest = faults_.extraAfterByte > deliveredBytes_
                                  ? 0
                                  : static_cast<std::int64_t>(bytes - 1) * kByteNs;
    std::int64_t target = deadlineNs;
    for (const auto& [at, event] : events_) {
        if (at >= target)
            break;
        switch (event.kind) {
        case EventKind::User:
            target = at;
            break;
        case EventKind::ToPc:
            target = std::min(target, at + rest);
            break;
        case EventKind::Station:
            target = std::min(target, at + kByteNs + rest);
            break;
        }
    }
    return target;
}

void SimStation::catchUp(Lock& lock) {
    while (!events_.empty() && events_.begin()->first <= clock_.nowNs()) {
        const auto first = events_.begin();
        const std::int64_t at = first->first;
        Event event = std::move(first->second);
        events_.erase(first);
        if (event.kind == EventKind::User) {
            lock.unlock();
            event.run();
            lock.lock();
            continue;
        }
        inEvent_ = true;
        eventTime_ = at;
        event.run();
        inEvent_ = false;
    }
}

// Waits until every byte the PC wrote has left its side, as the port does before it changes
// DTR or break.
void SimStation::drain(Lock& lock) {
    catchUp(lock);
    while (outboundFree_ > clock_.nowNs()) {
        const std::int64_t target = outboundFree_;
        lock.unlock();
        clock_.sleepUntilNs(target, {});
        lock.lock();
        catchUp(lock);
    }
}

void SimStation::toPc(const Bytes& bytes, std::int64_t earliest, bool fromBaton) {
    const std::uint64_t generation = generation_;
    for (const std::uint8_t byte : bytes) {
        const std::int64_t start = std::max(earliest, inboundFree_);
        inboundFree_ = start + kByteNs;
        schedule(inboundFree_, EventKind::ToPc,
                 [this, byte, fromBaton, generation] { deliver(byte, fromBaton, generation); });
    }
}

void SimStation::deliver(std::uint8_t byte, bool fromBaton, std::uint64_t generation) {
    if (fromBaton && (!baton_ || generation != generation_))
        return; // the baton was taken off while it answered
    if (!open_ || failed_)
        return;
    ++deliveredBytes_;
    if (deliveredBytes_ != faults_.dropByte) {
        input_.push_back(byte);
        lastByteToPcNs_ = time();
    }
    if (deliveredBytes_ == faults_.extraAfterByte) {
        input_.push_back(faults_.extraValue);
        lastByteToPcNs_ = time();
    }
    if (fromBaton) {
        ++deliveredReplyBytes_;
        if (deliveredReplyBytes_ == faults_.removeBatonAfterReplyBytes) {
            baton_.reset();
            frame_.clear();
        }
    }
    if (deliveredBytes_ == faults_.failPortAfterBytes) {
        failed_ = true;
        open_ = false;
        input_.clear();
    }
}

void SimStation::announce(std::int64_t delayNs) {
    toPc(Bytes(kBatonAnnouncement.begin(), kBatonAnnouncement.end()), time() + delayNs, false);
}

void SimStation::placeBaton(SimBaton baton) {
    Lock lock(mutex_);
    catchUp(lock);
    baton_ = std::move(baton);
    ++generation_;
    clockBaseNs_ = time();
    frame_.clear();
    if (!break_ && kind_ == DeviceKind::Station)
        announce(2'000'000);
}

LocalDateTime SimStation::batonClock() const {
    return addSeconds(*baton_->clock, (time() - clockBaseNs_) / 1'000'000'000);
}

std::optional<SimBaton> SimStation::batonNow() const {
    const std::lock_guard lock(mutex_);
    if (!baton_)
        return std::nullopt;
    SimBaton now = *baton_;
    if (now.clock)
        now.clock = batonClock();
    return now;
}

std::optional<SimBaton> SimStation::takeBatonOff() {
    Lock lock(mutex_);
    catchUp(lock);
    if (!baton_)
        return std::nullopt;
    SimBaton off = *baton_;
    if (off.clock)
        off.clock = batonClock();
    baton_.reset();
    frame_.clear();
    return off;
}

bool SimStation::batonPresent() const {
    const std::lock_guard lock(mutex_);
    return baton_.has_value();
}

void SimStation::touchIdButton(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    Lock lock(mutex_);
    catchUp(lock);
    toPc(withCheck({code::kIdButton, b1, b2, b3}), time(), false);
}

void SimStation::sendVoltage(std::uint8_t value) {
    Lock lock(mutex_);
    catchUp(lock);
    toPc({code::kVoltage, value, 0x00}, time(), false);
}

void SimStation::sendCharge(std::uint8_t value) {
    Lock lock(mutex_);
    catchUp(lock);
    toPc({code::kCharge, value, 0x00}, time(), false);
}

void SimStation::injectNoise(const Bytes& bytes) {
    Lock lock(mutex_);
    catchUp(lock);
    toPc(bytes, time(), false);
}

void SimStation::setFaults(const StationFaults& faults) {
    const std::lock_guard lock(mutex_);
    faults_ = faults;
    deliveredBytes_ = 0;
    deliveredReplyBytes_ = 0;
    replies_ = 0;
    batonCommands_ = 0;
}

void SimStation::setLatencyNs(std::int64_t latency) {
    const std::lock_guard lock(mutex_);
    latencyNs_ = latency;
}

void SimStation::repairPort() {
    const std::lock_guard lock(mutex_);
    failed_ = false;
}

void SimStation::at(std::uint64_t atMs, std::function<void()> action) {
    const std::lock_guard lock(mutex_);
    schedule(static_cast<std::int64_t>(atMs) * 1'000'000, EventKind::User, std::move(action));
}

std::vector<Bytes> SimStation::commands() const {
    const std::lock_guard lock(mutex_);
    return commands_;
}

std::int64_t SimStation::bytesToPc() const {
    const std::lock_guard lock(mutex_);
    return deliveredBytes_;
}

std::int64_t SimStation::lastByteToPcNs() const {
    const std::lock_guard lock(mutex_);
    return lastByteToPcNs_;
}

bool SimStation::open() {
    Lock lock(mutex_);
    catchUp(lock);
    if (failed_)
        return false;
    open_ = true;
    input_.clear(); // nothing from before the open
    return true;
}

void SimStation::close() {
    Lock lock(mutex_);
    catchUp(lock);
    open_ = false;
    input_.clear();
}

bool SimStation::isOpen() const {
    const std::lock_guard lock(mutex_);
    return open_ && !failed_;
}

std::size_t SimStation::inputCount() {
    Lock lock(mutex_);
    catchUp(lock);
    return input_.size();
}

Bytes SimStation::read(std::size_t n) {
    Lock lock(mutex_);
    catchUp(lock);
    Bytes bytes;
    while (n-- > 0 && !input_.empty()) {
        bytes.push_back(input_.front());
        input_.pop_front();
    }
    return bytes;
}

std::size_t SimStation::write(ByteView bytes) {
    Lock lock(mutex_);
    catchUp(lock);
    if (!open_ || failed_)
        return 0;
    for (const std::uint8_t byte : bytes) {
        const std::int64_t start = std::max(time(), outboundFree_);
        outboundFree_ = start + kByteNs;
        if (break_)
            continue; // a line held in break carries nothing
        schedule(outboundFree_, EventKind::Station, [this, byte] { stationReceives(byte); });
    }
    return bytes.size();
}

bool SimStation::setDtr(bool on) {
    Lock lock(mutex_);
    if (!open_ || failed_)
        return false;
    drain(lock);
    dtr_ = on;
    return true;
}

bool SimStation::setBreak(bool on) {
    Lock lock(mutex_);
    if (!open_ || failed_)
        return false;
    drain(lock);
    const bool ending = break_ && !on;
    break_ = on;
    if (ending && baton_ && kind_ == DeviceKind::Station)
        announce(2'000'000);
    return true;
}

void SimStation::waitForInput(std::uint64_t deadlineMs, std::size_t bytes, std::stop_token stop) {
    const std::int64_t deadline = static_cast<std::int64_t>(deadlineMs) * 1'000'000;
    const std::size_t wanted = std::max<std::size_t>(bytes, 1);
    Lock lock(mutex_);
    for (;;) {
        catchUp(lock);
        if ((open_ && input_.size() >= wanted) || clock_.nowNs() >= deadline ||
            stop.stop_requested())
            return;
        const std::size_t have = open_ ? input_.size() : 0;
        const std::int64_t target = nextInputPossibleNs(deadline, wanted - have);
        lock.unlock();
        clock_.sleepUntilNs(target, stop);
        lock.lock();
    }
}

void SimStation::stationReceives(std::uint8_t byte) {
    switch (kind_) {
    case DeviceKind::LoopbackPlug:
        toPc({byte}, time(), false);
        return;
    case DeviceKind::Silent:
        return;
    case DeviceKind::Station:
        if (dtr_)
            toPc({byte}, time(), false);
        if (baton_)
            batonReceives(byte);
        return;
    }
}

void SimStation::batonReceives(std::uint8_t byte) {
    if (!frame_.empty() && time() - lastByteNs_ > kCommandGapNs)
        frame_.clear();
    lastByteNs_ = time();
    if (frame_.empty() && commandLength(byte) == 0)
        return; // not a command: the probe text, the sync burst, noise
    frame_.push_back(byte);
    if (frame_.size() < commandLength(frame_[0]))
        return;
    const Bytes frame = frame_;
    frame_.clear();
    if (Crc8(ByteView(frame.data(), frame.size() - 1)) != frame.back())
        return; // a damaged command gets no answer
    commands_.push_back(frame);
    if (++batonCommands_ == faults_.removeBatonAtCommand) {
        if (faults_.carryOutBeforeRemoval) {
            muted_ = true;
            command(frame);
            muted_ = false;
        }
        removedByFault_ = baton_;
        if (removedByFault_->clock)
            removedByFault_->clock = batonClock();
        baton_.reset();
        frame_.clear();
        return;
    }
    command(frame);
}

std::optional<SimBaton> SimStation::takeRemovedBaton() {
    Lock lock(mutex_);
    catchUp(lock);
    return std::exchange(removedByFault_, std::nullopt);
}

void SimStation::reply(Bytes frame) {
    if (muted_)
        return;
    ++replies_;
    Bytes withCk = withCheck(std::move(frame));
    if (replies_ == faults_.corruptReply)
        withCk.back() = static_cast<std::uint8_t>(withCk.back() ^ 0x5A);
    toPc(withCk, time() + latencyNs_, true);
}

void SimStation::command(const Bytes& f) {
    SimBaton& b = *baton_;
    if (b.voltageBefore == f[0]) {
        b.voltageBefore.reset();
        toPc({code::kVoltage, 0xA0, 0x00}, time() + latencyNs_, true);
    }
    const auto chipRecords = [&](int chip) -> std::vector<MemoryRecord>& {
        auto& records = b.chips[chip];
        if (records.empty())
            records.push_back(headerRecord());
        return records;
    };
    switch (f[0]) {
    case code::kGetInfo: {
        const auto name = b.nameBytes();
        Bytes info(3 + name.size(), code::kInfo);
        info[1] = b.version[0];
        info[2] = b.version[1];
        std::copy(name.begin(), name.end(), info.begin() + 3);
        return reply(std::move(info));
    }
    case code::kReadClockBcd: {
        if (!b.clock)
            return reply({code::kClockBcd, 0xFF, 0xFF, 0x1F, 0x3F, 0xFF, 0xFF, 0xFF, b.delay});
        const LocalDateTime t = batonClock();
        return reply({code::kClockBcd, toBcd(t.year / 100), toBcd(t.year % 100), toBcd(t.month),
                      toBcd(t.day), toBcd(t.hour), toBcd(t.minute), toBcd(t.second), b.delay});
    }
    case code::kReadClockSeconds: {
        const std::uint32_t v = b.clock ? clockValueFor(batonClock()) : 0xFFFFFFFFU;
        return reply({code::kClockSeconds, static_cast<std::uint8_t>(v & 0xFF),
                      static_cast<std::uint8_t>((v >> 8U) & 0xFF),
                      static_cast<std::uint8_t>((v >> 16U) & 0xFF),
                      static_cast<std::uint8_t>(v >> 24U)});
    }
    case code::kSetClockBcd:
    case code::kSetClockSeconds: {
        const bool bcd = f[0] == code::kSetClockBcd;
        const std::uint8_t status = bcd ? code::kSetClockBcdStatus : code::kSetClockSecondsStatus;
        if (b.refusesClock)
            return reply({status, 0});
        if (bcd) {
            b.clock = LocalDateTime{fromBcd(f[1]) * 100 + fromBcd(f[2]),
                                    fromBcd(f[3]),
                                    fromBcd(f[4]),
                                    fromBcd(f[5]),
                                    fromBcd(f[6]),
                                    fromBcd(f[7]),
                                    0};
        } else {
            const std::uint32_t v = static_cast<std::uint32_t>(f[4]) << 24U |
                                    static_cast<std::uint32_t>(f[3]) << 16U |
                                    static_cast<std::uint32_t>(f[2]) << 8U | f[1];
            b.clock = timeOfClockValue(static_cast<std::int32_t>(v));
        }
        clockBaseNs_ = time();
        return reply({status, 1});
    }
    case code::kSetId: {
        if (b.refusesId)
            return reply({code::kSetIdStatus, 0});
        const auto bytes = b.nameBytes();
        std::string name(bytes.begin(), bytes.end());
        for (std::size_t i = 0; i < 4; ++i)
            name[4 + i] = static_cast<char>(f[1 + i]);
        b.name = name;
        return reply({code::kSetIdStatus, 1});
    }
    case code::kGetSize: {
        const int chip = f[1];
        const auto claimed = b.reportedSize.find(chip);
        const auto found = b.chips.find(chip);
        const std::size_t records =
            found == b.chips.end() || found->second.empty() ? 1 : found->second.size();
        auto size = claimed != b.reportedSize.end() ? claimed->second
                                                    : static_cast<std::uint16_t>(records * 8);
        if (b.emptyMark && claimed == b.reportedSize.end() && records <= 1)
            size = 0x8008;
        return reply({code::kSize, static_cast<std::uint8_t>(size >> 8U),
                      static_cast<std::uint8_t>(size & 0xFF)});
    }
    case code::kSetPointer:
        if (b.refuseSetPointer > 0 && b.refuseSetPointer--)
            return reply({code::kSetPointerStatus, 0});
        chipPointer_ = f[1];
        addressPointer_ = f[2] * 256 + f[3];
        return reply({code::kSetPointerStatus, 1});
    case code::kReadNext: {
        const auto& records = chipRecords(chipPointer_);
        const auto index = static_cast<std::size_t>(addressPointer_ / 8);
        const auto worn = b.unreadableFrom.find(chipPointer_);
        if (worn != b.unreadableFrom.end() && index >= worn->second)
            return;
        MemoryRecord record{};
        record.fill(0xFF); // erased memory beyond the used part
        if (index < records.size())
            record = records[index];
        addressPointer_ += 8;
        Bytes frame(1 + record.size(), code::kRecord);
        std::copy(record.begin(), record.end(), frame.begin() + 1);
        return reply(std::move(frame));
    }
    case code::kWriteRecord: {
        if (b.refuseWriteRecord > 0 && b.refuseWriteRecord--)
            return reply({code::kWriteRecordStatus, 0});
        auto& records = chipRecords(chipPointer_);
        const auto index = static_cast<std::size_t>(addressPointer_ / 8);
        if (records.size() <= index)
            records.resize(index + 1, headerRecord());
        std::copy(f.begin() + 1, f.begin() + 9, records[index].begin());
        addressPointer_ += 8;
        return reply({code::kWriteRecordStatus, 1});
    }
    case code::kSetEnd: {
        if (b.refuseSetEnd > 0 && b.refuseSetEnd--)
            return reply({code::kSetEndStatus, 0});
        auto& records = chipRecords(f[1]);
        const auto end = static_cast<std::size_t>((f[2] * 256 + f[3]) / 8);
        records.resize(std::max<std::size_t>(end, 1), headerRecord());
        b.reportedSize.erase(f[1]);
        return reply({code::kSetEndStatus, 1});
    }
    default:
        return;
    }
}

} // namespace kestrova::sim
