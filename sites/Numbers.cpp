// Number texts of the schedule fields.
#include "sites/Numbers.h"

#include "core/Errors.h"

namespace kestrova {

std::optional<int> readNumber(std::string_view text) {
    try {
        return toInteger(std::string(text));
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

std::optional<int> readNumberAt(std::string_view text, std::size_t first, std::size_t count) {
    if (text.size() < first + count)
        return std::nullopt;
    return readNumber(text.substr(first, count));
}

std::string zeroPadded(int value, std::size_t width) {
    std::string text = std::to_string(value);
    if (value >= 0 && text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

int multipleAtOrBelow(int value, int step) {
    const int rest = value % step;
    return rest < 0 ? value - rest - step : value - rest;
}

int multipleAtOrAbove(int value, int step) {
    const int below = multipleAtOrBelow(value, step);
    return below == value ? value : below + step;
}

} // namespace kestrova
