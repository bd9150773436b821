// kestrova-cli checkpoints SITE [--print]: the site's list as the checkpoint editor loads it,
// one line per row: number, id, mark and name separated by TABs. --print writes "List.txt" as
// "&View List" does and prints its name.
#include "cli/SiteCommands.h"
#include "cli/SiteEditor.h"

namespace kestrova::cli {

int runCheckpointsCommand(CliSession& session) {
    const auto& args = session.args;
    const bool print = args.size() == 2 && args[1] == "--print";
    if (args.empty() || args.size() > 2 || (args.size() == 2 && !print))
        throw UsageError("checkpoints takes SITE and optionally --print");
    SiteEditor site(session, args[0]);
    if (print) {
        const auto file = site.editor().viewList();
        if (!file)
            return 1;
        session.out << file->filename().string() << '\n';
        return 0;
    }
    for (const EditorRow& row : site.editor().rows())
        session.out << row.number << '\t' << row.checkpoint.id << '\t' << row.checkpoint.mark
                    << '\t' << row.checkpoint.name << '\n';
    return 0;
}

} // namespace kestrova::cli
