// kestrova-cli upload: one baton's upload through a simulated station, as the program does it
// from start-up on, in simulated time.
//
//   upload --simulate BATONFILE [--port N] [--set-id NNNN] [--baton-after FILE]
#pragma once

#include "cli/CliSession.h"

namespace kestrova::cli {

int runUploadCommand(CliSession& session);

} // namespace kestrova::cli
