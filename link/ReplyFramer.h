// The reply framer: the bytes the station and the baton send, cut into frames. It keeps the
// receive buffer (RxBuf, at most 100 bytes between parser calls), knows from one table how many
// bytes each reply code needs and how many its frame takes, checks the Crc8 of the checked
// replies, notices the baton announcement 01 0D wherever it stands, and says what the frame at
// the front of the buffer is. What to do with a frame is the session's decision (the reply
// parser); this class decides nothing and touches nothing else, so that it can be fed any
// bytes at all (a fuzzer feeds it through push, front and remove).
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
// Codes 03 05 07 09 0B 0D 0F 11 33 35 are the echoes of the PC's own frames. Standard library
// only.
#pragma once

#include "link/Crc8.h"
#include "link/Frames.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kestrova {

// One row of the table of reply codes.
struct ReplyCode {
    std::uint8_t code;
    // Bytes in the buffer before the parser acts on the frame.
    std::size_t needs;
    // Bytes the frame takes (an echo of Read Next or Write Record waits for one byte of the next
    // frame, so it needs one more than it takes).
    std::size_t length;
    // Its last byte is the Crc8 of the bytes before it.
    bool checked;
    std::string_view meaning;
};

// The row of a code; no value for a code no station or baton sends.
const ReplyCode* findReplyCode(std::uint8_t code);
std::span<const ReplyCode> replyCodes();

// The frame at the front of the buffer, as far as it has arrived.
struct Reply {
    std::uint8_t code = 0;
    const ReplyCode* row = nullptr; // null: a code nobody sends
    ByteView bytes;                 // the buffer from the frame's first byte on
    bool complete = false;          // the bytes it needs are there
    bool checkOk = false;           // complete, and its check byte (if it has one) is right
    std::size_t length = 0;         // bytes to remove to consume it

    std::uint8_t byte(std::size_t i) const { return bytes[i]; } // numbered from 0, the code
    std::uint8_t status() const { return bytes[1]; }
    std::uint16_t sizeValue() const {
        return static_cast<std::uint16_t>(bytes[1] * 256 + bytes[2]);
    }
    RecordData record() const;
    // The Crc8 of the bytes before the check byte, as the trace shows it.
    std::uint8_t computedCheck() const;
};

class ReplyFramer {
public:
    static constexpr std::size_t kCapacity = 100;

    // Stores one received byte. False when the buffer overflowed and was emptied.
    bool push(std::uint8_t byte);
    // The last two bytes stored are the announcement 01 0D.
    bool endsWithAnnouncement() const;
    // The announcement stands somewhere in the buffer.
    bool holdsAnnouncement() const;

    std::optional<Reply> front() const;
    // Bytes the front frame still lacks; 0 when the buffer is empty or the frame complete.
    std::size_t awaited() const;

    void remove(std::size_t n);
    void clear() { size_ = 0; }
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    ByteView bytes() const { return {buffer_.data(), size_}; }

private:
    std::array<std::uint8_t, kCapacity + 1> buffer_{};
    std::size_t size_ = 0;
};

} // namespace kestrova
