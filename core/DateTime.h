// Calendar values the whole program passes around: a local date and time without a time zone,
// as the clock interface reports it and as the data files store it. Standard library only.
#pragma once

#include <compare>
#include <cstdint>

namespace kestrova {

struct LocalDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend auto operator<=>(const LocalDateTime&, const LocalDateTime&) = default;
};

// Days since 30 December 1899 with the time of day as the fraction (the serial date that
// existing installations use to number sessions).
double serialDate(const LocalDateTime& t);

// Monday = 1 … Sunday = 7.
int isoDayOfWeek(int year, int month, int day);

bool isLeapYear(int year);
int daysInMonth(int year, int month);

// The clock value moved by a number of whole seconds (negative to go back), across days,
// months and years.
LocalDateTime addSeconds(const LocalDateTime& t, std::int64_t seconds);

} // namespace kestrova
