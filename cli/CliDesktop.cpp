#include "cli/CliDesktop.h"

#include "core/SystemQueries.h"

#include <array>
#include <chrono>
#include <clocale>
#include <ctime>
#include <utility>

namespace kestrova::cli {

void ConsoleDialogs::showInformation(const std::string& text) {
    err_ << text << '\n';
}

void ConsoleDialogs::showError(const std::string& text) {
    err_ << text << '\n';
}

bool ConsoleDialogs::confirm(const std::string& text) {
    err_ << text << " (answered no)\n";
    return false;
}

std::optional<std::string> ConsoleDialogs::inputLine(const std::string&, const std::string&,
                                                     const std::string&) {
    return std::exchange(nextInput_, std::nullopt);
}

std::string HeadlessDocuments::programFor(const std::string& extension) {
    // Without a window system the only document this program opens is its PDF reports.
    return extension == ".pdf" ? DefaultApplicationFor("application/pdf") : std::string();
}

LocalDateTime CliClock::now() const {
    if (fixedNow_)
        return *fixedNow_;
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch() %
                                                                          std::chrono::seconds(1))
                        .count();
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,       local.tm_hour,
            local.tm_min,         local.tm_sec,     static_cast<int>(ms)};
}

std::uint64_t CliClock::tickCount() const {
    return TickCountSinceBoot();
}

namespace {
enum class Part { Date, Time };

std::string formatted(const LocalDateTime& t, Part part) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    std::array<char, 128> buffer{};
    // The locale's own short date is wanted here, whatever form of the year it uses.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-y2k"
    const std::size_t length = part == Part::Date
                                   ? std::strftime(buffer.data(), buffer.size(), "%x", &tm)
                                   : std::strftime(buffer.data(), buffer.size(), "%X", &tm);
#pragma GCC diagnostic pop
    return std::string(buffer.data(), length);
}
} // namespace

EnvironmentLocale::EnvironmentLocale() {
    std::setlocale(LC_TIME, "");
}

std::string EnvironmentLocale::shortDate(const LocalDateTime& t) const {
    return formatted(t, Part::Date);
}

std::string EnvironmentLocale::longTime(const LocalDateTime& t) const {
    return formatted(t, Part::Time);
}

} // namespace kestrova::cli
