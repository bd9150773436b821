// The commands of kestrova-cli: each takes the session and returns the exit status.
#pragma once

#include "cli/CliSession.h"

#include <string_view>

namespace kestrova::cli {

using CommandFunction = int (*)(CliSession&);

struct Command {
    std::string_view name;
    std::string_view usage; // arguments after the name
    CommandFunction run;
};

int runSitesCommand(CliSession& session);
int runSettingsCommand(CliSession& session);
int runReportCommand(CliSession& session);
int runLogCommand(CliSession& session);

} // namespace kestrova::cli
