// Showing the baton's clock from its clock replies, and the warning when it is off the PC's.
//
//   04 cc yy mm dd hh nn ss dly ck     BCD fields; a never-set clock reads dd=3F mm=1F FF FF FF
//   34 v0 v1 v2 v3 ck                  seconds clock value, little-endian, signed
#include "link/CommsSession.h"

#include <cstdio>

namespace kestrova {

namespace {

// The decimal value of a BCD byte; no value when a digit is not decimal.
std::optional<int> fromBcd(std::uint8_t byte) {
    const int high = byte >> 4U;
    const int low = byte & 0x0F;
    if (high > 9 || low > 9)
        return std::nullopt;
    return high * 10 + low;
}

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

} // namespace

// b[1] century … b[7] second, b[8] checkpoint delay.
void CommsSession::showClockBcd(ByteView b) {
    const std::string unsetDigits =
        hexByte(b[4]) + hexByte(b[3]) + hexByte(b[5]) + hexByte(b[6]) + hexByte(b[7]);
    if (unsetDigits == "3F1FFFFFFF") {
        s_.state.setLabelText(Label::Date, message(13) + " ?");
        s_.state.setLabelText(Label::Time, message(14) + " ?");
    } else {
        const auto century = fromBcd(b[1]);
        const auto year = fromBcd(b[2]);
        const auto month = fromBcd(b[3]);
        const auto day = fromBcd(b[4]);
        const auto hour = fromBcd(b[5]);
        const auto minute = fromBcd(b[6]);
        const auto second = fromBcd(b[7]);
        bool matches = false;
        if (century && year && month && day && hour && minute && second && *month >= 1 &&
            *month <= 12 && *day >= 1 && *day <= daysInMonth(*century * 100 + *year, *month) &&
            *hour < 24 && *minute < 60 && *second < 60) {
            // Within a minute of the PC either way. The seconds take part, so that a baton
            // 61 seconds ahead is flagged and one 59 seconds ahead is not.
            const LocalDateTime baton{
                *century * 100 + *year, *month, *day, *hour, *minute, *second, 0};
            LocalDateTime pc = s_.wallClock.now();
            pc.millisecond = 0;
            matches = !(addSeconds(baton, -60) > pc) && !(addSeconds(baton, 60) < pc);
        }
        s_.state.setLabelVisible(Label::Extra, !matches);
        if (!matches)
            s_.state.setLabelText(Label::Extra, "Time in Baton is not the same as PC!!");
        const TextColour colour = matches ? TextColour::Normal : TextColour::Red;
        s_.state.setLabelColour(Label::Date, colour);
        s_.state.setLabelColour(Label::Time, colour);
        s_.state.setLabelText(Label::Date, message(13) + " " + hexByte(b[4]) + "/" + hexByte(b[3]) +
                                               "/" + hexByte(b[1]) + hexByte(b[2]));
        s_.state.setLabelText(Label::Time, message(14) + " " + hexByte(b[5]) + ":" + hexByte(b[6]) +
                                               "." + hexByte(b[7]));
    }
    const std::string ident = s_.state.batonIdent();
    unsigned version = 0;
    std::sscanf(s_.state.batonVersion().c_str(), "%x", &version);
    const std::string shown = version > 0x2715 && identNameIs({"Kest"}) && b[8] != 0
                                  ? ident + "   Dly : " + std::to_string(b[8])
                                  : ident;
    s_.state.setLabelText(Label::Id, shown);
    s_.state.setIdentText(shown);
}

void CommsSession::showClockSeconds(ByteView b) {
    const std::uint32_t raw = static_cast<std::uint32_t>(b[4]) << 24U |
                              static_cast<std::uint32_t>(b[3]) << 16U |
                              static_cast<std::uint32_t>(b[2]) << 8U | b[1];
    const LocalDateTime t = timeOfClockValue(static_cast<std::int32_t>(raw));
    s_.state.setLabelText(Label::Date, message(13) + " " + twoDigits(t.day) + "/" +
                                           twoDigits(t.month) + "/" + std::to_string(t.year));
    s_.state.setLabelText(Label::Time, message(14) + " " + twoDigits(t.hour) + ":" +
                                           twoDigits(t.minute) + "." + twoDigits(t.second));
    s_.state.setLabelText(Label::Id, s_.state.batonIdent());
    s_.state.setIdentText(s_.state.batonIdent());
}

} // namespace kestrova
