// Reading a site's day files for a report: which file holds a calendar day, the time of a
// day-file line as the range selection reads it, and the clocking time of a line as the shift
// selection reads it. Shared by every report that works from the stored clockings.
// Standard library and core only.
//
//   000000 A1B2C3 24 03 05 14 07        a day-file line: lead, id, yy mm dd, hour byte, minute
//   1-6    7-12   13 15 17 19 21        byte (two hexadecimal digits each for the last two)
#pragma once

#include "core/DateTime.h"
#include "core/TextFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// The 22 "0" characters that stand for a line too short to be read, and for the end of data.
inline constexpr std::string_view kZeroLine = "0000000000000000000000";
// Lines shorter than this become the zero line in the range selection.
inline constexpr std::size_t kShortestRangeLine = 20;

// A calendar day: a LocalDateTime whose time of day is midnight.
LocalDateTime calendarDay(int year, int month, int day);
LocalDateTime addDays(const LocalDateTime& day, int days);

// "yymmdd.Txt": the day file of a day as the Reports window names it.
std::string dayFileName(const LocalDateTime& day);

// The day file of a day in the site's directory, found without regard to case; none when the
// site has no such file (nothing is created).
std::optional<std::filesystem::path> findDayFile(const std::filesystem::path& siteDir,
                                                 const LocalDateTime& day);

struct HourMinute {
    int hour = 0;
    int minute = 0;
    friend auto operator<=>(const HourMinute&, const HourMinute&) = default;
};

// The time of a line on the first or last day of a range: hour = columns 19-20 in decimal;
// minute = column 21 as a hexadecimal digit, less 8 when above 7 (the special-record bit),
// times ten, plus column 22. None when a digit is missing or wrong, the hour is above 23 or
// the minute above 59.
std::optional<HourMinute> rangeLineTime(std::string_view line);

// "hh" + "h" + "nn" of the window's time fields: hour = characters 1-2, minute = 4-5; none when
// they are not decimal.
std::optional<HourMinute> parseTimeText(std::string_view text);

// The clocking time of a line for the shift selection and the chart: 2000 + columns 13-14,
// months 15-16, day 17-18, hour 19-20, minute 21-22, all decimal; none when they do not form
// a valid date and time.
std::optional<LocalDateTime> clockingTime(std::string_view line);

} // namespace kestrova
