// Reading and writing the numbers that the schedule fields hold as text: a failed conversion is
// a value, not an exception, where a rule treats an unreadable field as failing. Core only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// The text as a decimal integer (blanks around it allowed), or no value.
std::optional<int> readNumber(std::string_view text);
// Characters [first, first + count) of the text as a number; no value when the text is short.
std::optional<int> readNumberAt(std::string_view text, std::size_t first, std::size_t count);
// The number written with leading zeros to at least `width` digits.
std::string zeroPadded(int value, std::size_t width);
// The smallest multiple of `step` at or above / at or below `value`.
int multipleAtOrAbove(int value, int step);
int multipleAtOrBelow(int value, int step);

} // namespace kestrova
