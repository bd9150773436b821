// Column rules of the upload file's lines. Standard library only.
#include "processing/UploadLine.h"

namespace kestrova {

namespace {

constexpr std::size_t kIdFirst = 7;
constexpr std::size_t kIdLast = 12;
constexpr std::size_t kDateFirst = 13;
constexpr std::size_t kHourMarkColumn = 19;
constexpr std::size_t kMinuteLast = 22;
constexpr int kSpecialMinute = 127;
constexpr std::size_t kLongestBatonIdent = 16;
constexpr std::size_t kBatonNameLength = 8;
constexpr std::string_view kDelayPrefix = "   Dly : ";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<int> hexDigit(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

char hexChar(int value) {
    return "0123456789ABCDEF"[value & 0xF];
}

std::optional<int> hexByte(std::string_view two) {
    if (two.size() != 2)
        return std::nullopt;
    const auto high = hexDigit(two[0]);
    const auto low = hexDigit(two[1]);
    if (!high || !low)
        return std::nullopt;
    return *high * 16 + *low;
}

std::optional<int> decimalPair(std::string_view two) {
    if (two.size() != 2 || !isDigit(two[0]) || !isDigit(two[1]))
        return std::nullopt;
    return (two[0] - '0') * 10 + (two[1] - '0');
}

bool isAsciiAlphanumeric(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The name (letters and digits of the baton's eight-character name), then the delay, if any.
bool isBatonIdent(std::string_view ident) {
    std::size_t name = 0;
    while (name < ident.size() && isAsciiAlphanumeric(ident[name]))
        ++name;
    if (name > kBatonNameLength)
        return false;
    const std::string_view rest = ident.substr(name);
    if (rest.empty())
        return true;
    if (!rest.starts_with(kDelayPrefix))
        return false;
    const std::string_view delay = rest.substr(kDelayPrefix.size());
    return !delay.empty() && delay.size() <= 3 &&
           delay.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

std::string_view columns(std::string_view line, std::size_t first, std::size_t last) {
    if (first == 0 || first > line.size() || last < first)
        return {};
    return line.substr(first - 1, last - first + 1);
}

bool isHeaderLine(std::string_view line) {
    return line.starts_with("Id");
}

std::string identText(std::string_view headerLine) {
    return headerLine.size() > 5 ? std::string(headerLine.substr(5)) : std::string();
}

bool isReportRequest(std::string_view headerLine) {
    const bool requestForm = headerLine.starts_with("Id : ") || headerLine.starts_with("Ids: ") ||
                             headerLine.starts_with("Idx: ");
    const std::string ident = identText(headerLine);
    return requestForm && ident.size() > kLongestBatonIdent && !isBatonIdent(ident);
}

bool isDoneMarker(std::string_view line) {
    return line == kDoneMarker;
}

std::optional<std::string_view> clockingId(std::string_view line) {
    if (line.size() < kIdLast)
        return std::nullopt;
    return columns(line, kIdFirst, kIdLast);
}

std::optional<int> minuteValue(std::string_view line) {
    if (line.size() < kMinuteLast)
        return std::nullopt;
    return hexByte(columns(line, 21, kMinuteLast));
}

bool isSpecialRecord(std::string_view line) {
    const auto minute = minuteValue(line);
    return minute && *minute > kSpecialMinute;
}

bool isUnitRecord(std::string_view line, std::size_t minimumLength) {
    if (line.size() < minimumLength || !isSpecialRecord(line))
        return false;
    for (const char c : columns(line, kIdFirst, kIdLast)) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

bool isCorruptRecord(std::string_view line) {
    for (std::size_t column = kDateFirst; column <= line.size(); ++column) {
        if (column != kHourMarkColumn && !isDigit(line[column - 1]))
            return true;
    }
    return false;
}

HourMarks readHourMarks(std::string_view line) {
    HourMarks marks{std::string(line)};
    auto hour = hexByte(columns(line, kHourMarkColumn, 20));
    if (!hour)
        return marks;
    marks.line[kHourMarkColumn - 1] = hexChar((*hour & 0x3F) >> 4);
    if (*hour > 127) {
        marks.bracket = true;
        *hour -= 128;
    }
    marks.angle = *hour > 63;
    return marks;
}

std::optional<std::uint64_t> sequenceValue(std::string_view line) {
    if (line.size() < kMinuteLast)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t column = kDateFirst; column <= kMinuteLast; ++column) {
        const char c = line[column - 1];
        int digit = 0;
        if (column == kHourMarkColumn) {
            const auto hex = hexDigit(c);
            if (!hex)
                return std::nullopt;
            digit = *hex & 0x3; // the two top bits of the hour byte are marks, not time
        } else if (isDigit(c)) {
            digit = c - '0';
        } else {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(digit);
    }
    return value;
}

bool isDuplicateClocking(std::string_view line, std::string_view previous) {
    if (line.size() < kMinuteLast || previous.size() < kMinuteLast)
        return false;
    if (columns(line, kIdFirst, 20) != columns(previous, kIdFirst, 20))
        return false;
    const auto minute = decimalPair(columns(line, 21, kMinuteLast));
    const auto previousMinute = decimalPair(columns(previous, 21, kMinuteLast));
    if (!minute || !previousMinute)
        return false;
    const int step = *minute - *previousMinute;
    return step == 0 || step == 1;
}

} // namespace kestrova
