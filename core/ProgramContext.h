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
    SharedSettings settings;
    MessageTable messages;
    CaptionTable captions;
    SiteList sites;
    SiteIndex siteIndex;
    AdminLog adminLog;
    TraceLog trace;
};

} // namespace kestrova
