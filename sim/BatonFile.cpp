// Reading and writing the baton file.
#include "sim/BatonFile.h"

#include "core/TextFile.h"

#include <cstdio>
#include <sstream>

namespace kestrova::sim {

namespace {

std::optional<std::uint8_t> hexValue(const std::string& word) {
    if (word.size() != 2)
        return std::nullopt;
    unsigned value = 0;
    for (const char c : word) {
        value *= 16;
        if (c >= '0' && c <= '9')
            value += static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F')
            value += static_cast<unsigned>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            value += static_cast<unsigned>(c - 'a' + 10);
        else
            return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

std::optional<int> decimalValue(const std::string& word) {
    if (word.empty() || word.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const char c : word) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<LocalDateTime> parseTime(const std::string& date, const std::string& time) {
    LocalDateTime t{};
    char tail = 0;
    if (std::sscanf(date.c_str(), "%4d-%2d-%2d%c", &t.year, &t.month, &t.day, &tail) != 3 ||
        std::sscanf(time.c_str(), "%2d:%2d:%2d%c", &t.hour, &t.minute, &t.second, &tail) != 3)
        return std::nullopt;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysInMonth(t.year, t.month) ||
        t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;
    return t;
}

std::string hex(std::uint8_t byte) {
    return hexByte(byte);
}

} // namespace

SimBaton parseBatonFile(const std::string& text, const LocalDateTime& now) {
    SimBaton baton;
    baton.clock = now;
    int chip = -1;
    int number = 0;
    for (const std::string& line : splitLines(text)) {
        ++number;
        const auto fail = [&](const std::string& why) {
            return BatonFileError("line " + std::to_string(number) + ": " + why);
        };
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty() || w[0][0] == '#')
            continue;
        if (w[0] == "name") {
            const std::size_t at = line.find("name") + 5;
            std::string name = at <= line.size() ? line.substr(at) : std::string();
            if (name.size() > 8)
                throw fail("a name has at most eight characters");
            name.resize(8, ' ');
            baton.name = name;
        } else if (w[0] == "version") {
            const auto v1 = w.size() == 3 ? hexValue(w[1]) : std::nullopt;
            const auto v2 = w.size() == 3 ? hexValue(w[2]) : std::nullopt;
            if (!v1 || !v2)
                throw fail("version takes two hexadecimal bytes");
            baton.version = {*v1, *v2};
        } else if (w[0] == "clock") {
            if (w.size() == 2 && w[1] == "unset") {
                baton.clock.reset();
            } else {
                const auto t = w.size() == 3 ? parseTime(w[1], w[2]) : std::nullopt;
                if (!t)
                    throw fail("clock takes YYYY-MM-DD HH:MM:SS or unset");
                baton.clock = t;
            }
        } else if (w[0] == "delay") {
            const auto d = w.size() == 2 ? decimalValue(w[1]) : std::nullopt;
            if (!d || *d > 255)
                throw fail("delay takes a number from 0 to 255");
            baton.delay = static_cast<std::uint8_t>(*d);
        } else if (w[0] == "chip") {
            const auto c = w.size() == 2 ? decimalValue(w[1]) : std::nullopt;
            if (!c || *c > 14 || *c % 2 != 0)
                throw fail("chip takes 14, 12, 10, 8, 6, 4, 2 or 0");
            chip = *c;
            if (baton.chips[chip].empty())
                baton.chips[chip].push_back(headerRecord());
        } else {
            RecordData data{};
            if (w.size() != 7)
                throw fail("a record has seven hexadecimal bytes");
            for (std::size_t i = 0; i < 7; ++i) {
                const auto byte = hexValue(w[i]);
                if (!byte)
                    throw fail("a record has seven hexadecimal bytes");
                data[i] = *byte;
            }
            if (chip < 0)
                throw fail("a record before any chip line");
            if (baton.chips[chip].size() >= 4100)
                throw fail("a chip holds at most 4,099 records after its header");
            baton.addClocking(chip, data);
        }
    }
    return baton;
}

std::string formatBatonFile(const SimBaton& baton) {
    std::string text;
    std::string name = baton.name;
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    text += "name " + name + "\n";
    text += "version " + hex(baton.version[0]) + " " + hex(baton.version[1]) + "\n";
    if (baton.clock) {
        char clock[40];
        const LocalDateTime& t = *baton.clock;
        std::snprintf(clock, sizeof clock, "clock %04d-%02d-%02d %02d:%02d:%02d\n", t.year, t.month,
                      t.day, t.hour, t.minute, t.second);
        text += clock;
    } else {
        text += "clock unset\n";
    }
    text += "delay " + std::to_string(baton.delay) + "\n";
    for (int chip = 14; chip >= 0; chip -= 2) {
        const auto records = baton.clockings(chip);
        if (records.empty())
            continue;
        text += "chip " + std::to_string(chip) + "\n";
        for (const RecordData& data : records) {
            for (std::size_t i = 0; i < data.size(); ++i)
                text += (i == 0 ? "" : " ") + hex(data[i]);
            text += "\n";
        }
    }
    return text;
}

} // namespace kestrova::sim
