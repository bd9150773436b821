// The day files of a site: one file per date in the site's "Raw" directory, named by the
// clockings' year, month and day ("240305.txt"), each line the first 22 characters of a
// clocking, in order of date and time, then of lead field and id:
//
//   000000A1B2C32403051407
//
// Pre-processing merges each upload into them; the Reports window reads them.
// Standard library only.
#pragma once

#include "core/TextFile.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrova {

inline constexpr std::size_t kDayFileLineLength = 22;

// The site's "Raw" directory, whatever the case of its name; created when it is missing.
std::filesystem::path rawDirectory(const std::filesystem::path& siteDir);

// The day file of a date (six characters), found without regard to the case of its name.
std::filesystem::path dayFilePath(const std::filesystem::path& rawDir, std::string_view date);

// Merges the clocking lines of a site's bucket into its day files. Only the files of the dates
// the bucket holds are rewritten; each keeps every line it had. A line shorter than a day-file
// line is not stored, nor one whose date is not six digits (it could not name its file).
void mergeIntoDayFiles(const std::filesystem::path& siteDir, const Lines& bucket);

// Adds clockings to a site's day files after the fact (clockings of unknown checkpoints that
// the user placed in the site): each goes in at its place in date and time order, and every
// other byte of each file stays as it was. A clocking the file holds already (the same 22
// characters) is not added again, so processing the same upload twice stores it once. Special
// records other than unit records name nothing that could be stored and are left out, as the
// pre-processing leaves them out.
void insertIntoDayFiles(const std::filesystem::path& siteDir, const Lines& clockings);

} // namespace kestrova
