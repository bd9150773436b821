#include "core/DateTime.h"

#include <chrono>

namespace kestrova {
namespace {

std::chrono::sys_days toDays(int year, int month, int day) {
    return std::chrono::sys_days{std::chrono::year{year} / std::chrono::month{unsigned(month)} /
                                 std::chrono::day{unsigned(day)}};
}

constexpr std::chrono::sys_days kSerialEpoch =
    std::chrono::sys_days{std::chrono::year{1899} / std::chrono::December / 30};

} // namespace

double serialDate(const LocalDateTime& t) {
    const auto days = (toDays(t.year, t.month, t.day) - kSerialEpoch).count();
    const double fraction =
        (t.hour * 3600000.0 + t.minute * 60000.0 + t.second * 1000.0 + t.millisecond) / 86400000.0;
    return static_cast<double>(days) + fraction;
}

int isoDayOfWeek(int year, int month, int day) {
    const std::chrono::weekday wd{toDays(year, month, day)};
    return static_cast<int>(wd.iso_encoding());
}

bool isLeapYear(int year) {
    return std::chrono::year{year}.is_leap();
}

int daysInMonth(int year, int month) {
    const auto last = std::chrono::year_month_day_last{
        std::chrono::year{year}, std::chrono::month_day_last{std::chrono::month{unsigned(month)}}};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

LocalDateTime addSeconds(const LocalDateTime& t, std::int64_t seconds) {
    using namespace std::chrono;
    const auto start = toDays(t.year, t.month, t.day) + hours{t.hour} + minutes{t.minute} +
                       std::chrono::seconds{t.second};
    const auto moved = start + std::chrono::seconds{seconds};
    const auto day = floor<days>(moved);
    const year_month_day ymd{day};
    const hh_mm_ss hms{moved - day};
    LocalDateTime out;
    out.year = static_cast<int>(ymd.year());
    out.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    out.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    out.hour = static_cast<int>(hms.hours().count());
    out.minute = static_cast<int>(hms.minutes().count());
    out.second = static_cast<int>(hms.seconds().count());
    out.millisecond = t.millisecond;
    return out;
}

} // namespace kestrova
