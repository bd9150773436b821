// kestrova-cli process and import: an upload file into day files and clocking reports, as an
// upload (process) or the main menu's "&Import" (import) does it.
//
//   process [FILE] [--unknown ignore|existing:SITE|new:SITE]
//   import  [FILE] [--unknown ignore|existing:SITE|new:SITE]
#pragma once

#include "cli/CliSession.h"

namespace kestrova::cli {

int runProcessCommand(CliSession& session);
int runImportCommand(CliSession& session);

} // namespace kestrova::cli
