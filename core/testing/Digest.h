// A short digest of a file's bytes for tests that pin output exactly (FNV-1a, 64 bits, as 16
// hexadecimal digits): enough to see that a change made for speed left every byte alone.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kestrova::testing {

inline std::string digestOf(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

} // namespace kestrova::testing
