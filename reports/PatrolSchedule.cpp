// Reading the failed-patrol schedule for the exception report. Standard library and core only.
#include "reports/PatrolSchedule.h"

#include <algorithm>
#include <charconv>

namespace kestrova {

namespace {

// The list reader turns an empty value into "0": that is how a blank time field ("  h  ")
// comes back, and how every value of a short list file reads.
constexpr std::string_view kEmptyValue = "0";

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int> parseNumber(std::string_view text) {
    if (!allDigits(text) || text.size() > 6)
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// One weekday's pair of times; none when it cannot be read.
std::optional<PatrolWindow> readWindow(const std::string& start, const std::string& finish) {
    PatrolWindow window;
    window.startText = start;
    window.finishText = finish;
    const bool startBlank = start == kEmptyValue;
    const bool finishBlank = finish == kEmptyValue;
    if (startBlank && finishBlank)
        return window;
    const auto startMinute = parsePatrolTime(start);
    const auto finishMinute = parsePatrolTime(finish);
    if (!startMinute || !finishMinute)
        return std::nullopt;
    window.set = true;
    window.startMinute = *startMinute;
    window.finishMinute = *finishMinute;
    return window;
}

} // namespace

int PatrolWindow::length() const {
    return finishMinute > startMinute ? finishMinute - startMinute
                                      : kMinutesPerDay - startMinute + finishMinute;
}

int PatrolSchedule::requiredBatons() const {
    return type == static_cast<int>(FailedPatrolType::MultipleBaton) ? std::max(batons, 1) : 1;
}

std::optional<int> parsePatrolTime(const std::string& text) {
    if (text.size() != 5 || text[2] != 'h')
        return std::nullopt;
    const auto hour = parseNumber(std::string_view(text).substr(0, 2));
    const auto minute = parseNumber(std::string_view(text).substr(3, 2));
    if (!hour || !minute || *hour > 24 || *minute > 59 || (*hour == 24 && *minute != 0))
        return std::nullopt;
    return (*hour % 24) * 60 + *minute;
}

ScheduleReading readPatrolSchedule(const ScheduleValues& raw) {
    ScheduleReading reading;
    PatrolSchedule& s = reading.schedule;
    const auto round = parseNumber(raw[kRoundTime]);
    const auto rest = parseNumber(raw[kRestTime]);
    const auto batons = parseNumber(raw[kNumBatons]);
    const auto type = parseNumber(raw[kFailedPatrolType].substr(0, 1));
    bool readable = round && rest && batons && type;
    if (readable) {
        s.roundMinutes = *round;
        s.restMinutes = *rest;
        s.batons = *batons;
        s.type = *type;
    }
    for (std::size_t day = 0; day < s.days.size(); ++day) {
        const auto window =
            readWindow(raw[kFirstDayTime + 2 * day], raw[kFirstDayTime + 2 * day + 1]);
        if (window)
            s.days[day] = *window;
        else
            readable = false;
    }
    const bool anyWindow =
        std::any_of(s.days.begin(), s.days.end(), [](const PatrolWindow& w) { return w.set; });
    if (!readable)
        reading.status = ScheduleStatus::Unreadable;
    else if (s.roundMinutes == 0 || !anyWindow)
        reading.status = ScheduleStatus::Missing;
    else
        reading.status = ScheduleStatus::Ready;
    return reading;
}

} // namespace kestrova
