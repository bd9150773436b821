// The serial port of a device server on the network, reached over TCP with Telnet's COM-PORT
// option; the settings name it "rfc2217://HOST:PORT". Open connects, negotiates, asks for the
// line settings of every port here (9600 baud, 8 data bits, no parity, two stop bits, no flow
// control, RTS low) and a purge of both directions, and stands open only once the server has
// confirmed each setting as asked; whatever arrives before the purge is confirmed was waiting
// before the open and is dropped. DTR and break go through SET-CONTROL, in order with the data.
// A connection that drops (or fails) closes the port at once, as an unplugged adapter closes
// the termios port: the session sees a closed port, and its own restart opens it again, which
// connects anew and sets everything up from the start. Byte-level rules are in TelnetCodec.
// Standard library and POSIX sockets only.
#pragma once

#include "link/SerialPort.h"
#include "link/StopWake.h"
#include "link/TelnetCodec.h"

#include <optional>
#include <string>

namespace kestrova {

inline constexpr std::string_view kNetworkPortScheme = "rfc2217://";

// How long open waits for the connection and for the server to confirm the settings, and how
// long a DTR change waits for the server's answer.
inline constexpr std::uint64_t kNetworkOpenMs = 3000;
inline constexpr std::uint64_t kNetworkControlAnswerMs = 1000;

struct NetworkAddress {
    std::string host;
    std::string port;
    friend bool operator==(const NetworkAddress&, const NetworkAddress&) = default;
};

// "rfc2217://HOST:PORT" (HOST may be "[v6 address]"); no value for any other text.
std::optional<NetworkAddress> parseNetworkPort(const std::string& device);

class NetworkPort : public SerialPort {
public:
    explicit NetworkPort(LinkClock& clock);
    ~NetworkPort() override;
    NetworkPort(const NetworkPort&) = delete;
    NetworkPort& operator=(const NetworkPort&) = delete;

    // Here the name is "rfc2217://HOST:PORT".
    void setPort(const std::string& name) override;
    bool open() override;
    void close() override;
    bool isOpen() const override;
    std::size_t inputCount() override;
    Bytes read(std::size_t n) override;
    std::size_t write(ByteView bytes) override;
    // True once the server has answered with the state asked for. A server that does not
    // answer (one in front of a device without modem lines) gets the change all the same, and
    // from then on, on this connection, changes go out without a wait and report false, as
    // the termios port does on a device without modem lines.
    bool setDtr(bool on) override;
    bool setBreak(bool on) override;
    void waitForInput(std::uint64_t deadlineMs, std::size_t bytes, std::stop_token stop) override;

private:
    bool connectTo(const NetworkAddress& address, std::uint64_t deadlineMs);
    bool setUp(std::uint64_t deadlineMs);
    // Reads what the connection holds into the decoder, without waiting; false once the
    // connection is gone (the port is then closed).
    bool pump();
    // Waits for the connection to have something to read; false at the deadline or on an
    // error.
    bool awaitReadable(std::uint64_t deadlineMs);
    bool sendRaw(const Bytes& bytes);
    std::optional<std::uint8_t> awaitDtrAnswer(std::uint64_t deadlineMs);
    void paceRest(std::uint64_t deadlineMs, std::size_t bytes);
    void lost();

    LinkClock& clock_;
    std::optional<NetworkAddress> address_;
    int fd_ = -1;
    StopWake wake_;
    telnet::TelnetDecoder decoder_;
    Bytes input_;                                // serial data not yet read
    std::vector<telnet::ComPortAnswer> answers_; // answers not yet looked at
    bool purging_ = false;                       // input before the purge's answer is dropped
    bool dtrUnanswered_ = false;
};

} // namespace kestrova
