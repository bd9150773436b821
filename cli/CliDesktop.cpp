#include "cli/CliDesktop.h"

#include <array>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <ctime>
#include <memory>
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
    if (extension != ".pdf")
        return {};
    // The desktop's default application for PDF documents, as xdg-mime reports it.
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(
        ::popen("xdg-mime query default application/pdf 2>/dev/null", "r"), ::pclose);
    if (!pipe)
        return {};
    std::array<char, 512> buffer{};
    std::string answer;
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()))
        answer += buffer.data();
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r'))
        answer.pop_back();
    return answer;
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
    timespec ts{};
    ::clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
           static_cast<std::uint64_t>(ts.tv_nsec / 1000000);
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
