// Day-file names and line times for the reports. Standard library and core only.
#include "reports/DayFileReading.h"

#include "core/FileNames.h"

#include <cstdio>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

std::optional<int> decimalDigit(char c) {
    if (c < '0' || c > '9')
        return std::nullopt;
    return c - '0';
}

std::optional<int> hexDigit(char c) {
    if (auto d = decimalDigit(c))
        return d;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

// Two decimal digits at a 1-based column.
std::optional<int> twoDigits(std::string_view line, std::size_t column) {
    if (line.size() < column + 1)
        return std::nullopt;
    const auto tens = decimalDigit(line[column - 1]);
    const auto units = decimalDigit(line[column]);
    if (!tens || !units)
        return std::nullopt;
    return *tens * 10 + *units;
}

} // namespace

LocalDateTime calendarDay(int year, int month, int day) {
    LocalDateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = t.minute = t.second = t.millisecond = 0;
    return t;
}

LocalDateTime addDays(const LocalDateTime& day, int days) {
    return addSeconds(day, static_cast<std::int64_t>(days) * kSecondsPerDay);
}

std::string dayFileName(const LocalDateTime& day) {
    char name[16];
    std::snprintf(name, sizeof name, "%02d%02d%02d.Txt", day.year % 100, day.month % 100,
                  day.day % 100);
    return name;
}

std::optional<fs::path> findDayFile(const fs::path& siteDir, const LocalDateTime& day) {
    const fs::path raw = resolveInDirectory(siteDir, "Raw");
    if (!directoryExists(raw))
        return std::nullopt;
    const fs::path file = resolveInDirectory(raw, dayFileName(day));
    if (!fileExists(file))
        return std::nullopt;
    return file;
}

std::optional<HourMinute> rangeLineTime(std::string_view line) {
    const auto hour = twoDigits(line, 19);
    if (!hour || line.size() < 22)
        return std::nullopt;
    auto tens = hexDigit(line[20]);
    const auto units = decimalDigit(line[21]);
    if (!tens || !units)
        return std::nullopt;
    if (*tens > 7)
        *tens -= 8;
    const int minute = *tens * 10 + *units;
    if (*hour > 23 || minute > 59)
        return std::nullopt;
    return HourMinute{*hour, minute};
}

std::optional<HourMinute> parseTimeText(std::string_view text) {
    // The edit mask leaves the first hour digit optional: " 7h30" is 07h30.
    std::string hourText(text.substr(0, 2));
    if (!hourText.empty() && hourText[0] == ' ')
        hourText[0] = '0';
    const auto hour = twoDigits(hourText, 1);
    const auto minute = twoDigits(text, 4);
    if (!hour || !minute)
        return std::nullopt;
    return HourMinute{*hour, *minute};
}

std::optional<LocalDateTime> clockingTime(std::string_view line) {
    const auto year = twoDigits(line, 13);
    const auto month = twoDigits(line, 15);
    const auto day = twoDigits(line, 17);
    const auto hour = twoDigits(line, 19);
    const auto minute = twoDigits(line, 21);
    if (!year || !month || !day || !hour || !minute)
        return std::nullopt;
    if (*month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(2000 + *year, *month) ||
        *hour > 23 || *minute > 59)
        return std::nullopt;
    LocalDateTime t = calendarDay(2000 + *year, *month, *day);
    t.hour = *hour;
    t.minute = *minute;
    return t;
}

} // namespace kestrova
