// The help documents the program ships in its program directory, built from the text sources
// in help/ and checked for by the installation check and the About window. This list is the one
// place their names are kept. Standard library only.
#pragma once

#include <array>
#include <string_view>

namespace kestrova {

inline constexpr std::string_view kInstallGuide = "Install.pdf";  // installation guide
inline constexpr std::string_view kBasicHelp = "Basic.pdf";       // basic troubleshooting
inline constexpr std::string_view kAdvancedHelp = "Advanced.pdf"; // hints and tips
inline constexpr std::string_view kOverviewHelp = "overhelp.pdf"; // Reports: overview charts
inline constexpr std::string_view kListHelp = "listhelp.pdf";     // Reports: clocking lists
inline constexpr std::string_view kDownloadHelp = "downhelp.pdf"; // Reports: by download
inline constexpr std::string_view kUserGuide = "UserGuide.pdf";   // Help menu "&Index"/"&Topics"

inline constexpr std::array<std::string_view, 7> kHelpDocuments = {
    kInstallGuide, kBasicHelp, kAdvancedHelp, kOverviewHelp, kListHelp, kDownloadHelp, kUserGuide,
};

} // namespace kestrova
