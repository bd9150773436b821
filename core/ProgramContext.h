// The state the main window owns for the whole run and every layer shares: the program
// directory, the desktop, the settings file and record, the message and caption tables, the
// site list and index, and the two logs. Standard library only.
#pragma once

#include "core/AdminLog.h"
#include "core/CaptionTable.h"
#include "core/Desktop.h"
#include "core/MessageTable.h"
#include "core/Settings.h"
#include "core/SiteIndex.h"
#include "core/SiteList.h"
#include "core/TraceLog.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kestrova {

struct ProgramContext {
    ProgramContext(std::filesystem::path dir, Desktop desk, std::string sessionNumber,
                   TraceView* traceView = nullptr)
        : programDir(std::move(dir)), desktop(desk), settingsFile(programDir),
          adminLog(programDir, desktop.clock),
          trace(programDir, std::move(sessionNumber), desktop.clock, traceView) {}

    ProgramContext(const ProgramContext&) = delete;
    ProgramContext& operator=(const ProgramContext&) = delete;

    const std::filesystem::path programDir;
    Desktop desktop;
    SettingsFile settingsFile;
    Settings settings;
    MessageTable messages;
    CaptionTable captions;
    SiteList sites;
    SiteIndex siteIndex;
    AdminLog adminLog;
    TraceLog trace;
};

// Site creation and the index, over the shared state.

// Asks for the first site until one has been created (start-up with no sites).
void AddFirstSite(ProgramContext& context);
// "&Add New Site": asks for a name, creates the site, logs it. Returns the new name, if any.
std::optional<std::string> AddSite(ProgramContext& context);
// Makes sure every listed site has its "Raw" directory and list file, then loads the index.
void LoadSiteIndex(ProgramContext& context);

} // namespace kestrova
