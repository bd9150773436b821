// How the readers of an upload file take its lines apart: the header line, the Done marker and
// the clocking lines with their id, minute value, unit and corrupt records, hour marks and the
// date-and-time value of the sequence test. Columns are counted from 1, as the file layout
// describes them:
//
//   000000 A1B2C3 24 03 05 14 07 12
//   1-6    7-12   13 15 17 19 21 23-24
//   lead   id     yy mm dd hh nn packet number (not kept)
//
// Pure functions over the text; standard library only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

inline constexpr std::string_view kDoneMarker = "Done";

// The "previous clocking" a processing run starts from: no real clocking equals it.
inline constexpr std::string_view kNoPreviousClocking = "000000123456000101010101123456";

// Columns first..last (1-based, inclusive) of a line, clipped to its end.
std::string_view columns(std::string_view line, std::size_t first, std::size_t last);

// A header line names the baton (or, from the Reports window, carries a report request).
bool isHeaderLine(std::string_view line);
// The text from column 6 to the end of a header line.
std::string identText(std::string_view headerLine);

// The header the Reports window writes before a report request: "Id : " (clocking list),
// "Ids: " (sorted by checkpoint) or "Idx: " (overview), then the range text, longer than any
// baton's ident. A baton's header is "Id : " and its name of letters and digits, followed by
// "   Dly : " and the delay when the baton reports a checkpoint delay:
//
//   Id : KEST0001   Dly : 5                              a baton
//   Id : From 08:00:00 01/03/2024 to 17:00:00 05/03/2024   a request
bool isReportRequest(std::string_view headerLine);

bool isDoneMarker(std::string_view line);

// Columns 7-12; none for a line too short to carry an id (it matches no site).
std::optional<std::string_view> clockingId(std::string_view line);

// Columns 21-22 read as a hexadecimal number; none when the line is shorter or the two
// characters are not hexadecimal digits.
std::optional<int> minuteValue(std::string_view line);

// A minute value above 127: the baton marks special records with bit 7 of the minute byte.
bool isSpecialRecord(std::string_view line);

// A special record whose id columns are all decimal digits names the unit of the clocking that
// follows it. `minimumLength` is the shortest line taken as one: the upload readers want the
// packet number (23), the report builder also takes the 22-character lines of day files.
bool isUnitRecord(std::string_view line, std::size_t minimumLength);

// Some character from column 13 to the end is not a decimal digit; column 19 is excepted, as
// its digit carries the hour marks.
bool isCorruptRecord(std::string_view line);

// The hour byte of columns 19-20 with its two mark bits: bit 7 prints the id in brackets,
// bit 6 in angle brackets. `line` is the clocking with the mark bits cleared from column 19.
struct HourMarks {
    std::string line;
    bool bracket = false;
    bool angle = false;
};
HourMarks readHourMarks(std::string_view line);

// Columns 13-22 as one number for the time-order test, with the mark bits of the hour cleared
// so that a marked clocking takes part like any other; none when the columns are not all digits
// (or the line is shorter).
std::optional<std::uint64_t> sequenceValue(std::string_view line);

// The same checkpoint, date and hour as `previous`, and a minute equal to it or one later.
bool isDuplicateClocking(std::string_view line, std::string_view previous);

} // namespace kestrova
