// The table of reply codes and the framing of the receive buffer.
#include "link/ReplyFramer.h"

#include <algorithm>
#include <array>

namespace kestrova {

namespace {

constexpr std::array kTable = {
    ReplyCode{0x00, 1, 1, false, "filler"},
    ReplyCode{code::kGetInfo, 2, 2, false, "echo of Get Info, or the baton announcement"},
    ReplyCode{code::kInfo, 12, 12, true, "info"},
    ReplyCode{code::kReadClockBcd, 2, 2, false, "echo of Read Clock"},
    ReplyCode{code::kClockBcd, 10, 10, true, "clock"},
    ReplyCode{code::kSetClockBcd, 10, 10, false, "echo of Set Clock"},
    ReplyCode{code::kSetClockBcdStatus, 3, 3, true, "Set Clock status"},
    ReplyCode{code::kSetId, 6, 6, false, "echo of Set Id"},
    ReplyCode{code::kSetIdStatus, 3, 3, true, "Set Id status"},
    ReplyCode{code::kGetSize, 3, 3, false, "echo of Get Size"},
    ReplyCode{code::kSize, 4, 4, true, "memory size"},
    ReplyCode{code::kSetPointer, 6, 6, false, "echo of Set Pointer"},
    ReplyCode{code::kSetPointerStatus, 3, 3, true, "Set Pointer status"},
    ReplyCode{code::kReadNext, 3, 2, false, "echo of Read Next"},
    ReplyCode{code::kRecord, 10, 10, true, "memory record"},
    ReplyCode{code::kWriteRecord, 11, 10, false, "echo of Write Record"},
    ReplyCode{code::kWriteRecordStatus, 3, 3, true, "Write Record status"},
    ReplyCode{code::kSetEnd, 5, 5, false, "echo of Set End"},
    ReplyCode{code::kSetEndStatus, 3, 3, true, "Set End status"},
    ReplyCode{code::kVoltage, 3, 3, false, "voltage report"},
    ReplyCode{code::kIdButton, 5, 5, true, "Id button read at the station"},
    ReplyCode{code::kButtonTime, 6, 6, false, "button time report"},
    ReplyCode{code::kCharge, 3, 3, false, "charge report"},
    ReplyCode{0x2A, 3, 3, false, "report without meaning to the PC"},
    ReplyCode{0x2C, 3, 3, false, "report without meaning to the PC"},
    ReplyCode{code::kReadClockSeconds, 2, 2, false, "echo of Read Clock"},
    ReplyCode{code::kClockSeconds, 6, 6, true, "clock"},
    ReplyCode{code::kSetClockSeconds, 6, 6, false, "echo of Set Clock"},
    ReplyCode{code::kSetClockSecondsStatus, 3, 3, true, "Set Clock status"},
    // A lone 55 is the echo of a sync burst byte; 55 vv ck a calibration report.
    ReplyCode{code::kSync, 1, 1, false, "sync echo or calibration report"},
    ReplyCode{code::kReset, 1, 1, false, "reset"},
    // Any run of F0, taken whole once a byte follows it.
    ReplyCode{0xF0, 2, 1, false, "filler"},
    ReplyCode{0xFE, 2, 1, false, "filler"},
    ReplyCode{0xFF, 2, 1, false, "filler"},
};

bool crcHolds(ByteView bytes, std::size_t length) {
    return bytes.size() >= length && length >= 1 &&
           Crc8(bytes.first(length - 1)) == bytes[length - 1];
}

} // namespace

const ReplyCode* findReplyCode(std::uint8_t code) {
    const auto found = std::find_if(kTable.begin(), kTable.end(),
                                    [code](const ReplyCode& row) { return row.code == code; });
    return found == kTable.end() ? nullptr : &*found;
}

std::span<const ReplyCode> replyCodes() {
    return kTable;
}

RecordData Reply::record() const {
    RecordData data{};
    std::copy(bytes.begin() + 1, bytes.begin() + 8, data.begin());
    return data;
}

std::uint8_t Reply::computedCheck() const {
    const std::size_t frame = row != nullptr ? row->length : 1;
    return Crc8(bytes.first(std::min(bytes.size(), frame) - 1));
}

bool ReplyFramer::push(std::uint8_t byte) {
    buffer_[size_++] = byte;
    if (size_ > kCapacity) {
        clear();
        return false;
    }
    return true;
}

bool ReplyFramer::endsWithAnnouncement() const {
    return size_ >= 2 && buffer_[size_ - 2] == kBatonAnnouncement[0] &&
           buffer_[size_ - 1] == kBatonAnnouncement[1];
}

bool ReplyFramer::holdsAnnouncement() const {
    for (std::size_t i = 0; i + 1 < size_; ++i)
        if (buffer_[i] == kBatonAnnouncement[0] && buffer_[i + 1] == kBatonAnnouncement[1])
            return true;
    return false;
}

std::optional<Reply> ReplyFramer::front() const {
    if (size_ == 0)
        return std::nullopt;
    Reply reply;
    reply.bytes = bytes();
    reply.code = buffer_[0];
    reply.row = findReplyCode(reply.code);
    if (reply.row == nullptr) {
        reply.complete = true;
        reply.length = 1;
        return reply;
    }
    reply.complete = size_ >= reply.row->needs;
    reply.length = reply.row->length;
    if (reply.code == code::kSync && crcHolds(reply.bytes, 3))
        reply.length = 3; // a calibration report, not an echo
    if (reply.code == 0xF0)
        reply.length =
            static_cast<std::size_t>(std::find_if(reply.bytes.begin(), reply.bytes.end(),
                                                  [](std::uint8_t b) { return b != 0xF0; }) -
                                     reply.bytes.begin());
    reply.checkOk = reply.complete && (!reply.row->checked || crcHolds(reply.bytes, reply.length));
    return reply;
}

std::size_t ReplyFramer::awaited() const {
    if (size_ == 0)
        return 0;
    const ReplyCode* row = findReplyCode(buffer_[0]);
    const std::size_t needs = row != nullptr ? row->needs : 1;
    return needs > size_ ? needs - size_ : 0;
}

void ReplyFramer::remove(std::size_t n) {
    n = std::min(n, size_);
    std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(n),
              buffer_.begin() + static_cast<std::ptrdiff_t>(size_), buffer_.begin());
    size_ -= n;
}

} // namespace kestrova
