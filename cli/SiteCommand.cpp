// kestrova-cli site add NAME: the checkpoint editor's "Create a New site" with NAME as the
// answer to its question: the site's directory, "Raw" and admin-log entry, and the missing
// "Raw" directories and list files of every older site. A name that cannot be a site gives
// message 20 on standard error and exit status 1.
#include "cli/SiteCommands.h"
#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "sites/CheckpointEditor.h"

namespace kestrova::cli {

int runSiteCommand(CliSession& session) {
    const auto& args = session.args;
    if (args.size() != 2 || args[0] != "add")
        throw UsageError("site takes add NAME");
    CliProgram program(session);
    program.loadSettingsAndMessages();
    program.loadSites();
    MainState state;
    CheckpointEditor editor(program.context(), state, std::nullopt);
    program.desktop().dialogs.answerNextInput(args[1]);
    // An empty name is no site, where the dialog would simply end.
    if (args[1].empty() || !editor.CreateSite()) {
        if (args[1].empty())
            program.desktop().dialogs.showError(program.context().messages.MessageText(20) + " ");
        return 1;
    }
    return 0;
}

} // namespace kestrova::cli
