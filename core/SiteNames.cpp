// Site name rules. Standard library only.
#include "core/SiteNames.h"

#include "core/FileNames.h"

#include <string_view>
#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

bool acceptableSiteName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.front() == '.')
        return false;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

bool createSiteDirectory(const fs::path& programDir, const std::string& name) {
    if (!acceptableSiteName(name))
        return false;
    std::error_code ec;
    if (fs::exists(resolveInDirectory(programDir, name), ec))
        return false;
    return fs::create_directory(programDir / name, ec) && !ec;
}

} // namespace kestrova
