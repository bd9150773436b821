// The program's version and build date as the About window shows them, and the maker's web
// addresses it links to. Every address of the maker is kept here. Standard library only.
#pragma once

#include <string_view>

namespace kestrova {

inline constexpr std::string_view kVersionText = "5.28l";
// The version file's first line is compared with this to tell whether a newer release exists.
inline constexpr std::string_view kBuildDate = "14/08/2013";

// The maker's pages. The version file is a text file: the latest release's build date on its
// first line, the latest version's text on its second.
inline constexpr std::string_view kVersionFileAddress =
    "https://www.kestrova.example/uploader/version.txt";
inline constexpr std::string_view kOnlineHelpAddress = "https://www.kestrova.example/uploader/help";
inline constexpr std::string_view kPdfReaderHelpAddress =
    "https://www.kestrova.example/uploader/pdf-reader";
inline constexpr std::string_view kDriverHelpAddress =
    "https://www.kestrova.example/uploader/serial";
inline constexpr std::string_view kDownloadAddress =
    "https://www.kestrova.example/uploader/download";

} // namespace kestrova
