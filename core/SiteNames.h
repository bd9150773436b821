// The rules a new site's name must meet, wherever a site is created: by "&Add New Site", by the
// first-site prompt of start-up, and by placing unknown checkpoints in a new site. Standard
// library only.
#pragma once

#include <filesystem>
#include <string>

namespace kestrova {

// Whether a name may become a site: not empty, not hidden (a leading "."), and without a
// character Windows refuses in a file name (\ / : * ? " < > | and control characters), so that
// the installation survives a copy to Windows.
bool acceptableSiteName(const std::string& name);

// Creates the site's directory in the program directory. False, with nothing created, when the
// name is not acceptable or an entry of that name exists in any letter case (it would be a
// second site of the same name on Windows).
bool createSiteDirectory(const std::filesystem::path& programDir, const std::string& name);

} // namespace kestrova
