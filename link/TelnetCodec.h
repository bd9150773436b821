// The byte level of a serial port reached over the network through a device server: Telnet
// (RFC 854) carrying the COM-PORT option (RFC 2217). Bytes from the server go in and come out
// as the serial data, the server's answers to COM-PORT commands and the negotiation replies
// owed to it; serial data and commands for the server come out as the bytes to send. No
// sockets and no clock here, so every rule is tested on byte arrays. Standard library only.
//
// On the connection, 0xFF (IAC) starts a Telnet command, so a data byte 0xFF travels doubled:
//
//   data 41 FF 42              ->  41 FF FF 42
//   IAC WILL|WONT|DO|DONT opt  ->  FF FB|FC|FD|FE opt        option negotiation
//   IAC SB opt ... IAC SE      ->  FF FA opt ... FF F0        subnegotiation, FF doubled inside
//   IAC SB 44 cmd value IAC SE ->  a COM-PORT command (cmd 0..12 to the server, 100.. back)
//   IAC other                  ->  FF F1..F9                  NOP, GA and the like: no data
#pragma once

#include "link/Crc8.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kestrova::telnet {

inline constexpr std::uint8_t kIac = 0xFF;
inline constexpr std::uint8_t kDont = 0xFE;
inline constexpr std::uint8_t kDo = 0xFD;
inline constexpr std::uint8_t kWont = 0xFC;
inline constexpr std::uint8_t kWill = 0xFB;
inline constexpr std::uint8_t kSb = 0xFA;
inline constexpr std::uint8_t kSe = 0xF0;

inline constexpr std::uint8_t kBinary = 0;
inline constexpr std::uint8_t kSuppressGoAhead = 3;
inline constexpr std::uint8_t kComPort = 44;

// The COM-PORT commands the port uses; the server answers each with the same code plus 100.
enum class ComPortCommand : std::uint8_t {
    SetBaudRate = 1,
    SetDataSize = 2,
    SetParity = 3,
    SetStopSize = 4,
    SetControl = 5,
    PurgeData = 12,
};
inline constexpr std::uint8_t kServerAnswerOffset = 100;

// Values of the commands above.
inline constexpr std::uint8_t kParityNone = 1;
inline constexpr std::uint8_t kStopSizeTwo = 2;
inline constexpr std::uint8_t kControlNoFlowControl = 1;
inline constexpr std::uint8_t kControlBreakOn = 5;
inline constexpr std::uint8_t kControlBreakOff = 6;
inline constexpr std::uint8_t kControlDtrOn = 8;
inline constexpr std::uint8_t kControlDtrOff = 9;
inline constexpr std::uint8_t kControlRtsOff = 12;
inline constexpr std::uint8_t kControlInboundNoFlowControl = 14;
inline constexpr std::uint8_t kPurgeBoth = 3;

// Serial data as it travels on the connection: every 0xFF doubled.
Bytes escapeData(ByteView data);
// One COM-PORT command with its value (0xFF in the value doubled too).
Bytes comPortCommand(ComPortCommand command, ByteView value);
Bytes baudRateCommand(std::uint32_t baud);
Bytes oneByteCommand(ComPortCommand command, std::uint8_t value);
// What the port says first: it will do COM-PORT, and binary transmission without go-aheads in
// both directions. The decoder below expects the answers to exactly these.
Bytes openingNegotiation();

// A server's answer to a COM-PORT command: the command it answers and the value it reports.
struct ComPortAnswer {
    std::uint8_t command = 0; // the command's own code (the 100 taken off)
    Bytes value;
    std::size_t at = 0; // how many bytes of the piece's serial data came before it
    friend bool operator==(const ComPortAnswer&, const ComPortAnswer&) = default;
};

// What one piece of the server's bytes held.
struct Decoded {
    Bytes data;                         // serial data, in order, undoubled
    std::vector<ComPortAnswer> answers; // in order
    Bytes reply;                        // negotiation answers to send back to the server
};

// Where the server stands on the COM-PORT option.
enum class ComPortStatus { Asked, Accepted, Refused };

// Splits the server's bytes, across any cut between pieces, and keeps the state of every
// option (after RFC 1143, simplified: each side's option is off, asked for, or on, so that no
// answer is sent twice and no negotiation loops).
class TelnetDecoder {
public:
    // Assumes openingNegotiation() has been sent.
    TelnetDecoder();

    Decoded feed(ByteView bytes);
    ComPortStatus comPort() const;

private:
    enum class Side { Off, Asked, On };
    enum class Stage { Data, Iac, Option, Sub, SubIac };

    void negotiate(std::uint8_t verb, std::uint8_t option, Decoded& out);
    void afterIac(std::uint8_t byte, Decoded& out);
    void endSubnegotiation(Decoded& out);

    std::array<Side, 256> ours_{};   // options this side does
    std::array<Side, 256> theirs_{}; // options the server does
    bool comPortRefused_ = false;
    Stage stage_ = Stage::Data;
    std::uint8_t verb_ = 0;
    Bytes sub_; // the subnegotiation being read, its option first
    bool subTooLong_ = false;
};

// The line settings the port asks for and which of them the server has confirmed: open holds
// the port back until each has been answered with the value asked (a server that keeps other
// settings would garble every byte).
class LineConfirmation {
public:
    // Adds a command to wait for; its commands() bytes are what to send.
    void expect(ComPortCommand command, Bytes value);
    const Bytes& commands() const { return commands_; }
    // Takes one answer. False when it contradicts what was asked.
    bool take(const ComPortAnswer& answer);
    bool complete() const;

private:
    struct Pending {
        std::uint8_t command;
        Bytes value;
        bool confirmed = false;
    };
    std::vector<Pending> pending_;
    Bytes commands_;
};

} // namespace kestrova::telnet
