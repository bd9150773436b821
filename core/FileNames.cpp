#include "core/FileNames.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <vector>

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

namespace {

// Names with up to this many letters are looked up spelling by spelling (2^n lookups at most);
// others by reading the directory.
constexpr std::size_t kLettersSpeltOut = 4;

bool isAsciiLetter(char c) {
    return lowerAscii(c) != upperAscii(c);
}

// The entry whose name is `name` in another case, tried spelling by spelling: each lookup costs
// the same however many files the directory holds, where reading it grows with the years of
// reports and day files it keeps.
std::optional<fs::path> findSpelling(const fs::path& dir, std::string name,
                                     const std::vector<std::size_t>& letters) {
    const std::string written = name;
    std::error_code ec;
    for (std::size_t mask = 0; mask < (std::size_t{1} << letters.size()); ++mask) {
        for (std::size_t bit = 0; bit < letters.size(); ++bit) {
            char& c = name[letters[bit]];
            c = (mask >> bit) & 1U ? upperAscii(c) : lowerAscii(c);
        }
        if (name == written)
            continue;
        fs::path candidate = dir / name;
        if (fs::exists(candidate, ec))
            return candidate;
    }
    return std::nullopt;
}

} // namespace

fs::path resolveInDirectory(const fs::path& dir, std::string_view name) {
    fs::path exact = dir / fs::path(std::string(name));
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;
    std::vector<std::size_t> letters;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (isAsciiLetter(name[i]))
            letters.push_back(i);
    }
    if (letters.size() <= kLettersSpeltOut)
        return findSpelling(dir, std::string(name), letters).value_or(exact);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (equalsIgnoreCase(it->path().filename().string(), name))
            return it->path();
    }
    return exact;
}

} // namespace kestrova
