// The byte level of the network port, on byte arrays: data and commands out, the server's
// bytes split into data, answers and negotiation replies, across every cut of the stream.
#include "link/TelnetCodec.h"

#include "link/NetworkPort.h"

#include <gtest/gtest.h>

namespace kestrova::telnet {
namespace {

struct EscapeRow {
    const char* name;
    Bytes data;
    Bytes wire;
};

class EscapeData : public ::testing::TestWithParam<EscapeRow> {};

TEST_P(EscapeData, DoublesEveryIacAndNothingElse) {
    EXPECT_EQ(GetParam().wire, escapeData(GetParam().data));
}

INSTANTIATE_TEST_SUITE_P(
    Telnet, EscapeData,
    ::testing::Values(EscapeRow{"Empty", {}, {}},
                      EscapeRow{"PlainBytes", {0x01, 0x5E, 0xFE, 0xF0}, {0x01, 0x5E, 0xFE, 0xF0}},
                      EscapeRow{"OneIac", {0xFF}, {0xFF, 0xFF}},
                      EscapeRow{"IacsInARow",
                                {0xFF, 0xFF, 0x41, 0xFF},
                                {0xFF, 0xFF, 0xFF, 0xFF, 0x41, 0xFF, 0xFF}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ComPortCommands, FrameTheValueAndDoubleItsIacs) {
    EXPECT_EQ((Bytes{0xFF, 0xFA, 44, 1, 0x00, 0x00, 0x25, 0x80, 0xFF, 0xF0}),
              baudRateCommand(9600));
    EXPECT_EQ((Bytes{0xFF, 0xFA, 44, 1, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0}),
              baudRateCommand(0x1FFFF));
    EXPECT_EQ((Bytes{0xFF, 0xFA, 44, 5, 9, 0xFF, 0xF0}),
              oneByteCommand(ComPortCommand::SetControl, kControlDtrOff));
    EXPECT_EQ((Bytes{0xFF, 0xFB, 44, 0xFF, 0xFB, 0, 0xFF, 0xFD, 0, 0xFF, 0xFB, 3, 0xFF, 0xFD, 3}),
              openingNegotiation());
}

struct DecodeRow {
    const char* name;
    Bytes wire;
    Bytes data;
    std::vector<ComPortAnswer> answers;
};

class DecodeStream : public ::testing::TestWithParam<DecodeRow> {};

// Fed whole and fed in two pieces cut at every place, the stream gives the same data and
// answers: a command split between two reads is neither lost nor taken for data.
TEST_P(DecodeStream, GivesTheDataAndAnswersWhereverTheStreamIsCut) {
    const DecodeRow& row = GetParam();
    for (std::size_t cut = 0; cut <= row.wire.size(); ++cut) {
        TelnetDecoder decoder;
        const Decoded first = decoder.feed(ByteView(row.wire).first(cut));
        const Decoded second = decoder.feed(ByteView(row.wire).subspan(cut));
        Bytes data = first.data;
        data.insert(data.end(), second.data.begin(), second.data.end());
        std::vector<ComPortAnswer> answers;
        for (const Decoded* piece : {&first, &second})
            for (ComPortAnswer answer : piece->answers) {
                answer.at = 0; // where in a piece depends on the cut
                answers.push_back(answer);
            }
        EXPECT_EQ(row.data, data) << "cut at " << cut;
        EXPECT_EQ(row.answers, answers) << "cut at " << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Telnet, DecodeStream,
    ::testing::Values(
        DecodeRow{"PlainData", {0x01, 0x0D, 0x41}, {0x01, 0x0D, 0x41}, {}},
        DecodeRow{"DoubledIac", {0x41, 0xFF, 0xFF, 0x42, 0xFF, 0xFF}, {0x41, 0xFF, 0x42, 0xFF}, {}},
        DecodeRow{"NopAndGoAheadDropped", {0x41, 0xFF, 0xF1, 0xFF, 0xF9, 0x42}, {0x41, 0x42}, {}},
        DecodeRow{"NegotiationDropped", {0x41, 0xFF, 0xFB, 0x01, 0x42}, {0x41, 0x42}, {}},
        DecodeRow{"OtherOptionsSubnegotiationDropped",
                  {0x41, 0xFF, 0xFA, 0x18, 0x01, 0xFF, 0xFF, 0xFF, 0xF0, 0x42},
                  {0x41, 0x42},
                  {}},
        DecodeRow{"ComPortAnswerWithIacInItsValue",
                  {0x41, 0xFF, 0xFA, 44, 101, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0x42},
                  {0x41, 0x42},
                  {ComPortAnswer{1, {0x00, 0x01, 0xFF, 0xFF}}}},
        DecodeRow{"ServersOwnRequestIsNoAnswer", {0xFF, 0xFA, 44, 0, 0xFF, 0xF0, 0x41}, {0x41}, {}},
        DecodeRow{"SubnegotiationBrokenOffByACommand",
                  {0xFF, 0xFA, 44, 105, 0xFF, 0xF1, 0x41, 0xFF, 0xFA, 44, 112, 3, 0xFF, 0xF0},
                  {0x41},
                  {ComPortAnswer{12, {3}}}},
        DecodeRow{"OverlongSubnegotiationDroppedAndStreamGoesOn",
                  [] {
                      Bytes wire{0xFF, 0xFA, 44, 101};
                      wire.insert(wire.end(), 100, 0x20);
                      wire.insert(wire.end(), {0xFF, 0xF0, 0x41});
                      return wire;
                  }(),
                  {0x41},
                  {}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(TelnetDecoder, NotesWhereInThePieceAnAnswerCame) {
    TelnetDecoder decoder;
    const Decoded out = decoder.feed(Bytes{0x41, 0x42, 0xFF, 0xFA, 44, 112, 3, 0xFF, 0xF0, 0x43});
    ASSERT_EQ(1u, out.answers.size());
    EXPECT_EQ(2u, out.answers[0].at);
}

struct NegotiationRow {
    const char* name;
    std::vector<Bytes> pieces; // fed in turn
    Bytes reply;               // all replies together
    ComPortStatus comPort;
};

class Negotiation : public ::testing::TestWithParam<NegotiationRow> {};

TEST_P(Negotiation, AnswersOnceAndKnowsTheComPortOption) {
    TelnetDecoder decoder;
    Bytes reply;
    for (const Bytes& piece : GetParam().pieces) {
        const Decoded out = decoder.feed(piece);
        reply.insert(reply.end(), out.reply.begin(), out.reply.end());
        EXPECT_TRUE(out.data.empty());
    }
    EXPECT_EQ(GetParam().reply, reply);
    EXPECT_EQ(GetParam().comPort, decoder.comPort());
}

INSTANTIATE_TEST_SUITE_P(
    Telnet, Negotiation,
    ::testing::Values(
        // A device server's opening as seen on the wire: it takes what was asked, offers echo
        // (refused: the station echoes, not the server) and reports its modem state.
        NegotiationRow{
            "DeviceServerOpening",
            {{0xFF, 0xFB, 3,    0xFF, 0xFD, 3,    0xFF, 0xFB, 1,    0xFF, 0xFE, 1, 0xFF, 0xFD,
              0,    0xFF, 0xFB, 0,    0xFF, 0xFD, 44,   0xFF, 0xFA, 44,   107,  0, 0xFF, 0xF0}},
            {0xFF, 0xFE, 1},
            ComPortStatus::Accepted},
        NegotiationRow{"RepeatedAgreementGetsNoAnswer",
                       {{0xFF, 0xFD, 44}, {0xFF, 0xFD, 44, 0xFF, 0xFB, 0, 0xFF, 0xFB, 0}},
                       {},
                       ComPortStatus::Accepted},
        NegotiationRow{"RefusedComPort", {{0xFF, 0xFE, 44}}, {}, ComPortStatus::Refused},
        NegotiationRow{"ComPortWithdrawnAfterAgreement",
                       {{0xFF, 0xFD, 44}, {0xFF, 0xFE, 44}, {0xFF, 0xFE, 44}},
                       {0xFF, 0xFC, 44},
                       ComPortStatus::Refused},
        NegotiationRow{"UnknownOptionsRefused",
                       {{0xFF, 0xFD, 24, 0xFF, 0xFB, 31}},
                       {0xFF, 0xFC, 24, 0xFF, 0xFE, 31},
                       ComPortStatus::Asked},
        NegotiationRow{"BinaryDroppedByServerIsAcknowledged",
                       {{0xFF, 0xFB, 0}, {0xFF, 0xFC, 0}},
                       {0xFF, 0xFE, 0},
                       ComPortStatus::Asked},
        NegotiationRow{"OptionOfferedAfterRefusalIsTakenAgain",
                       {{0xFF, 0xFC, 3}, {0xFF, 0xFB, 3}},
                       {0xFF, 0xFD, 3},
                       ComPortStatus::Asked}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LineConfirmation, CompleteOnlyWhenEverySettingIsAnsweredAsAsked) {
    LineConfirmation line;
    line.expect(ComPortCommand::SetBaudRate, {0x00, 0x00, 0x25, 0x80});
    line.expect(ComPortCommand::SetControl, {kControlNoFlowControl});
    line.expect(ComPortCommand::PurgeData, {kPurgeBoth});
    Bytes sent = baudRateCommand(9600);
    for (const Bytes& more : {oneByteCommand(ComPortCommand::SetControl, kControlNoFlowControl),
                              oneByteCommand(ComPortCommand::PurgeData, kPurgeBoth)})
        sent.insert(sent.end(), more.begin(), more.end());
    EXPECT_EQ(sent, line.commands());

    EXPECT_TRUE(line.take({1, {0x00, 0x00, 0x25, 0x80}}));
    EXPECT_TRUE(line.take({7, {0x00}})); // a modem-state report answers nothing asked
    EXPECT_FALSE(line.complete());
    EXPECT_TRUE(line.take({5, {kControlNoFlowControl}}));
    EXPECT_TRUE(line.take({12, {kPurgeBoth}}));
    EXPECT_TRUE(line.complete());
}

TEST(LineConfirmation, AnotherValueThanAskedIsARefusal) {
    LineConfirmation line;
    line.expect(ComPortCommand::SetStopSize, {kStopSizeTwo});
    EXPECT_FALSE(line.take({4, {1}}));
}

struct AddressRow {
    const char* name;
    std::string device;
    std::optional<NetworkAddress> address;
};

class NetworkPortName : public ::testing::TestWithParam<AddressRow> {};

TEST_P(NetworkPortName, ParsesHostAndPortOrNothing) {
    EXPECT_EQ(GetParam().address, parseNetworkPort(GetParam().device));
}

INSTANTIATE_TEST_SUITE_P(
    Telnet, NetworkPortName,
    ::testing::Values(
        AddressRow{"HostAndPort", "rfc2217://station.office:4001",
                   NetworkAddress{"station.office", "4001"}},
        AddressRow{"IpV4", "rfc2217://10.0.0.7:2217", NetworkAddress{"10.0.0.7", "2217"}},
        AddressRow{"IpV6InBrackets", "rfc2217://[::1]:7000", NetworkAddress{"::1", "7000"}},
        AddressRow{"NoPort", "rfc2217://station.office", std::nullopt},
        AddressRow{"EmptyPort", "rfc2217://station.office:", std::nullopt},
        AddressRow{"NoHost", "rfc2217://:4001", std::nullopt},
        AddressRow{"PortZero", "rfc2217://host:0", std::nullopt},
        AddressRow{"PortTooHigh", "rfc2217://host:65536", std::nullopt},
        AddressRow{"PortNotANumber", "rfc2217://host:telnet", std::nullopt},
        AddressRow{"IpV6WithoutBrackets", "rfc2217://::1:7000", std::nullopt},
        AddressRow{"OtherScheme", "telnet://host:23", std::nullopt},
        AddressRow{"Device", "/dev/ttyUSB0", std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrova::telnet
