// Reports as CSV that spreadsheets read: UTF-8 with a byte-order mark (without it one widely
// used spreadsheet takes the file for the local 8-bit code page), a header row, fields quoted
// as RFC 4180 asks (a field holding a comma, a double quote, CR or LF is enclosed in double
// quotes, its double quotes doubled), rows ended by CR LF, dates as YYYY-MM-DD and times as
// HH:MM:SS so that they are read as dates and times.
//
// The program's texts are Windows-1252 throughout; they become UTF-8 here and nowhere else.
// A text field that begins with "=", "+", "-", "@", a tab or CR would be taken for a formula
// by a spreadsheet; it is written with a leading apostrophe, which spreadsheets show as text.
// Standard library and core only.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

using CsvRow = std::vector<std::string>; // Windows-1252 texts

// One field as it stands in the file (UTF-8, quoted when it must be).
std::string csvField(std::string_view windows1252Text);

// The whole file: mark, header, rows.
std::string csvDocument(const CsvRow& header, const std::vector<CsvRow>& rows);

// Replaces the file (temporary file and rename). Failures raise IoError.
void writeCsvFile(const std::filesystem::path& file, const CsvRow& header,
                  const std::vector<CsvRow>& rows);

// "2024-03-05" and "14:07:00".
std::string isoDate(int year, int month, int day);
std::string isoTime(int hour, int minute);

} // namespace kestrova
