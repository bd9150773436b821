// kestrova-cli's commands for sites and their checkpoint lists, run through the checkpoint
// editor's model exactly as the window runs it.
//
//   checkpoints SITE [--print]
//   site add NAME
//   schedule SITE [--autocorrect]
#pragma once

#include "cli/CliSession.h"

namespace kestrova::cli {

int runCheckpointsCommand(CliSession& session);
int runSiteCommand(CliSession& session);
int runScheduleCommand(CliSession& session);

} // namespace kestrova::cli
