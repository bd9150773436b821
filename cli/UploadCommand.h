// kestrova-cli upload: one baton's upload through a simulated station, as the program does it
// from start-up on, in simulated time; or the upload station on a port, in real time, for one
// baton or baton after baton.
//
//   upload --simulate BATONFILE [--port N] [--set-id NNNN] [--baton-after FILE]
//   upload [--port N] [--once | --watch] [--set-id NNNN]
//
// kestrova-cli station: the simulated station on a pseudo-terminal, for the upload above.
//
//   station --pty BATONFILE [--baton-after FILE]
#pragma once

#include "cli/CliSession.h"

namespace kestrova::cli {

int runUploadCommand(CliSession& session);
int runStationCommand(CliSession& session);

} // namespace kestrova::cli
