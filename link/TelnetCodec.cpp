// Telnet with the COM-PORT option, as bytes.
#include "link/TelnetCodec.h"

#include <algorithm>

namespace kestrova::telnet {

namespace {

constexpr std::uint8_t kOptionsWeDo[] = {kBinary, kSuppressGoAhead, kComPort};
constexpr std::uint8_t kOptionsTheyMayDo[] = {kBinary, kSuppressGoAhead};
// A subnegotiation longer than this is no COM-PORT answer; it is read to its end and dropped.
constexpr std::size_t kSubnegotiationLimit = 64;

bool listed(std::span<const std::uint8_t> options, std::uint8_t option) {
    return std::find(options.begin(), options.end(), option) != options.end();
}

void appendEscaped(Bytes& out, ByteView bytes) {
    for (const std::uint8_t byte : bytes) {
        out.push_back(byte);
        if (byte == kIac)
            out.push_back(kIac);
    }
}

} // namespace

Bytes escapeData(ByteView data) {
    Bytes out;
    out.reserve(data.size());
    appendEscaped(out, data);
    return out;
}

Bytes comPortCommand(ComPortCommand command, ByteView value) {
    Bytes out{kIac, kSb, kComPort, static_cast<std::uint8_t>(command)};
    appendEscaped(out, value);
    out.push_back(kIac);
    out.push_back(kSe);
    return out;
}

Bytes baudRateCommand(std::uint32_t baud) {
    const Bytes value{static_cast<std::uint8_t>(baud >> 24), static_cast<std::uint8_t>(baud >> 16),
                      static_cast<std::uint8_t>(baud >> 8), static_cast<std::uint8_t>(baud)};
    return comPortCommand(ComPortCommand::SetBaudRate, value);
}

Bytes oneByteCommand(ComPortCommand command, std::uint8_t value) {
    return comPortCommand(command, ByteView(&value, 1));
}

Bytes openingNegotiation() {
    return {kIac, kWill, kComPort,         kIac, kWill, kBinary,         kIac, kDo, kBinary,
            kIac, kWill, kSuppressGoAhead, kIac, kDo,   kSuppressGoAhead};
}

TelnetDecoder::TelnetDecoder() {
    for (const std::uint8_t option : kOptionsWeDo)
        ours_[option] = Side::Asked;
    for (const std::uint8_t option : kOptionsTheyMayDo)
        theirs_[option] = Side::Asked;
}

ComPortStatus TelnetDecoder::comPort() const {
    if (ours_[kComPort] == Side::On)
        return ComPortStatus::Accepted;
    return comPortRefused_ ? ComPortStatus::Refused : ComPortStatus::Asked;
}

Decoded TelnetDecoder::feed(ByteView bytes) {
    Decoded out;
    for (const std::uint8_t byte : bytes) {
        switch (stage_) {
        case Stage::Data:
            if (byte == kIac)
                stage_ = Stage::Iac;
            else
                out.data.push_back(byte);
            break;
        case Stage::Iac:
            afterIac(byte, out);
            break;
        case Stage::Option:
            negotiate(verb_, byte, out);
            stage_ = Stage::Data;
            break;
        case Stage::Sub:
            if (byte == kIac) {
                stage_ = Stage::SubIac;
            } else if (sub_.size() < kSubnegotiationLimit) {
                sub_.push_back(byte);
            } else {
                subTooLong_ = true;
            }
            break;
        case Stage::SubIac:
            if (byte == kIac) { // a doubled 0xFF inside the subnegotiation
                if (sub_.size() < kSubnegotiationLimit)
                    sub_.push_back(kIac);
                else
                    subTooLong_ = true;
                stage_ = Stage::Sub;
            } else if (byte == kSe) {
                endSubnegotiation(out);
                stage_ = Stage::Data;
            } else {
                // IAC and a command inside a subnegotiation: the server broke it off; the
                // command counts as after any IAC.
                afterIac(byte, out);
            }
            break;
        }
    }
    return out;
}

void TelnetDecoder::afterIac(std::uint8_t byte, Decoded& out) {
    stage_ = Stage::Data;
    if (byte == kIac) {
        out.data.push_back(kIac);
    } else if (byte >= kWill) { // WILL, WONT, DO, DONT
        verb_ = byte;
        stage_ = Stage::Option;
    } else if (byte == kSb) {
        sub_.clear();
        subTooLong_ = false;
        stage_ = Stage::Sub;
    }
    // Anything else (NOP, GA, AYT, a stray SE...) carries nothing for the line.
}

void TelnetDecoder::endSubnegotiation(Decoded& out) {
    if (subTooLong_ || sub_.size() < 2 || sub_[0] != kComPort || sub_[1] < kServerAnswerOffset)
        return; // another option's, or a request from the server that the port does not serve
    out.answers.push_back(ComPortAnswer{static_cast<std::uint8_t>(sub_[1] - kServerAnswerOffset),
                                        Bytes(sub_.begin() + 2, sub_.end()), out.data.size()});
}

// Each side of an option is off, asked for or on. An answer goes out only when the request
// changes the option, so that two sides never echo one request back and forth.
void TelnetDecoder::negotiate(std::uint8_t verb, std::uint8_t option, Decoded& out) {
    const auto send = [&out, option](std::uint8_t answer) {
        out.reply.insert(out.reply.end(), {kIac, answer, option});
    };
    const bool enable = verb == kWill || verb == kDo;
    const bool theirs = verb == kWill || verb == kWont;
    Side& side = theirs ? theirs_[option] : ours_[option];
    const bool wanted =
        listed(theirs ? ByteView(kOptionsTheyMayDo) : ByteView(kOptionsWeDo), option);
    const std::uint8_t agree = theirs ? (enable ? kDo : kDont) : (enable ? kWill : kWont);
    const std::uint8_t refuse = theirs ? kDont : kWont;
    if (enable) {
        if (side == Side::On)
            return;
        if (!wanted) {
            send(refuse);
            return;
        }
        if (side == Side::Off)
            send(agree);
        side = Side::On;
        return;
    }
    if (side == Side::Off)
        return;
    if (side == Side::On)
        send(agree);
    side = Side::Off;
    if (!theirs && option == kComPort)
        comPortRefused_ = true;
}

void LineConfirmation::expect(ComPortCommand command, Bytes value) {
    const Bytes bytes = comPortCommand(command, value);
    commands_.insert(commands_.end(), bytes.begin(), bytes.end());
    pending_.push_back(Pending{static_cast<std::uint8_t>(command), std::move(value)});
}

bool LineConfirmation::take(const ComPortAnswer& answer) {
    for (Pending& pending : pending_) {
        if (pending.command != answer.command || pending.confirmed)
            continue;
        pending.confirmed = true;
        return answer.value == pending.value;
    }
    return true; // an answer to nothing asked here (a DTR change, a repeated answer)
}

bool LineConfirmation::complete() const {
    return std::all_of(pending_.begin(), pending_.end(),
                       [](const Pending& pending) { return pending.confirmed; });
}

} // namespace kestrova::telnet
