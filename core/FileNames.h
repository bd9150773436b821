// File names in the program directory and the site directories, matched without regard to
// case: installations copied from Windows spell "Raw.txt", "checkpt.lst" or "Kestrova.ini" in
// several ways, and a case-sensitive file system must still find them. Standard library only.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrova {

// ASCII case-insensitive comparison, as the names of this system use it.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toLowerAscii(std::string_view text);
std::string toUpperAscii(std::string_view text);

// The entry of `dir` whose name equals `name` without regard to case: the exact spelling when
// it exists, otherwise another spelling that exists (when several do, which one is unspecified),
// otherwise `dir / name` as written (the path a new file gets). Names of few letters (report
// stamps, day files) are found without reading the whole directory.
std::filesystem::path resolveInDirectory(const std::filesystem::path& dir, std::string_view name);

} // namespace kestrova
