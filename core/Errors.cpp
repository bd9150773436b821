#include "core/Errors.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace kestrova {

IoError makeIoError(const std::string& action, const std::filesystem::path& file) {
    const int code = errno;
    std::string text = "Cannot " + action + " file \"" + file.string() + "\"";
    if (code != 0) {
        text += ". ";
        text += std::strerror(code);
    }
    return IoError(text);
}

int toInteger(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first])))
        ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1])))
        --last;
    const char* begin = text.data() + first;
    const char* end = text.data() + last;
    if (begin != end && *begin == '+')
        ++begin;
    int value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (begin == end || ec != std::errc() || ptr != end)
        throw ConversionError("'" + text + "' is not a valid integer value");
    return value;
}

std::string generalErrorMessage(const std::exception& error) {
    std::string text = error.what();
    if (!text.empty() && text.back() != '.')
        text += '.';
    return text;
}

} // namespace kestrova
