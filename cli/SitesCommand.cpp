// kestrova-cli sites: the site list and the index as start-up builds them, one line per site:
// position, name, "common" or "site", and the indexed ids, separated by TABs.
#include "cli/Commands.h"
#include "core/ProgramContext.h"

namespace kestrova::cli {

int runSitesCommand(CliSession& session) {
    if (!session.args.empty())
        throw UsageError("sites takes no arguments");
    CliProgram program(session);
    program.loadSites();
    const ProgramContext& context = program.context();
    const auto names = context.sites.names();
    for (std::size_t position = 0; position < names.size(); ++position) {
        session.out << position << '\t' << names[position] << '\t'
                    << (isCommonSite(names[position]) ? "common" : "site") << '\t';
        const auto& ids = context.siteIndex.block(static_cast<int>(position));
        for (std::size_t i = 0; i < ids.size(); ++i)
            session.out << (i ? " " : "") << ids[i];
        session.out << '\n';
    }
    return 0;
}

} // namespace kestrova::cli
