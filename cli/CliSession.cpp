#include "cli/CliSession.h"

#include "core/DateTime.h"
#include "core/ProgramContext.h"
#include "core/SiteSetup.h"
#include "shell/StartUp.h"

#include <cstdio>

namespace kestrova::cli {

LocalDateTime parseNow(const std::string& text) {
    LocalDateTime t;
    char tail = 0;
    const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month,
                                   &t.day, &t.hour, &t.minute, &t.second, &tail);
    const bool valid = fields == 6 && t.year >= 1900 && t.month >= 1 && t.month <= 12 &&
                       t.day >= 1 && t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 &&
                       t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 &&
                       t.second < 60;
    if (!valid)
        throw UsageError("--now takes \"YYYY-MM-DD HH:MM:SS\", not \"" + text + "\"");
    return t;
}

CliProgram::CliProgram(const CliSession& session) : desktop_(session.err, session.now) {
    context_ = std::make_unique<ProgramContext>(session.programDir, desktop_.desktop,
                                                sessionNumberAt(desktop_.clock.now()));
}

CliProgram::~CliProgram() = default;

void CliProgram::loadSettingsAndMessages() {
    LoadProgramSettings(*context_);
    LoadDefaultMessages(*context_);
    LoadProgramLanguage(*context_);
}

void CliProgram::loadSites() {
    LoadSiteList(*context_);
    LoadSiteIndex(*context_);
}

} // namespace kestrova::cli
