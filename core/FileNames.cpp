#include "core/FileNames.h"

#include <algorithm>
#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

namespace {
char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

std::string toLowerAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lowerAscii);
    return out;
}

std::string toUpperAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), upperAscii);
    return out;
}

fs::path resolveInDirectory(const fs::path& dir, std::string_view name) {
    fs::path exact = dir / fs::path(std::string(name));
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (equalsIgnoreCase(it->path().filename().string(), name))
            return it->path();
    }
    return exact;
}

} // namespace kestrova
