// Comma text: the one rule by which the log viewer splits an admin-log line into fields and
// joins fields into a line of its comma-separated export.
//
//   "2012/03/05 14:07.22","Site A","New Site created"
//
// Reading: leading blanks are skipped; a field that starts with a double quote runs to the
// matching closing quote, two double quotes inside standing for one; any other field runs up to
// the next comma or character not above a space; blanks around a comma are skipped; a comma at
// the very end adds an empty field. Writing: fields joined by ","; a field holding a comma, a
// double quote or a character not above a space is quoted, its double quotes doubled.
// Standard library only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

std::vector<std::string> readCommaText(std::string_view text);
std::string writeCommaText(const std::vector<std::string>& fields);

} // namespace kestrova
