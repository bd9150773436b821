// The About window's system check: the lines it writes into its text box, in order: the
// maker's latest version, whether the program directory can be written, the language files,
// the PDF program, the help documents, the pictures and the upload station. Each step stands
// alone; a failure gives its own line and the check goes on. Standard library only; the
// download of the version file comes through an interface.
#pragma once

#include "core/Desktop.h"
#include "core/MessageTable.h"
#include "core/Settings.h"
#include "core/Web.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The new-version link of the About window (Label5).
struct NewVersionLink {
    bool visible = false;
    std::string text;

    friend bool operator==(const NewVersionLink&, const NewVersionLink&) = default;
};

struct SystemCheckResult {
    std::vector<std::string> lines;
    NewVersionLink newVersion;
};

struct SystemCheckInputs {
    std::filesystem::path programDir;
    const MessageTable& messages;
    SettingsFile& settingsFile;
    DocumentOpener& documents;
    WebDownloader& downloader;
    bool stationLampRed; // the main window's Led is still red: no station found yet
    int stationPort;     // the port the station was found on
};

// The file the version file is downloaded into, in the program directory.
inline constexpr std::string_view kVersionDownloadFile = "temp";
// The file the write check leaves behind, holding a copy of the settings file.
inline constexpr std::string_view kWriteCheckFile = "test.txt";

SystemCheckResult RunSystemCheck(const SystemCheckInputs& inputs);

} // namespace kestrova
