// Site creation and the site checkpoint index, over the shared state: the first-site prompt of
// start-up, "&Add New Site", and the index every upload is matched against. Standard library
// only.
#pragma once

#include "core/ProgramContext.h"

#include <optional>
#include <string>

namespace kestrova {

// Asks for the first site until one has been created (start-up with no sites).
void AddFirstSite(ProgramContext& context);
// "&Add New Site": asks for a name, creates the site, logs it. Returns the new name, if any.
std::optional<std::string> AddSite(ProgramContext& context);
// Makes sure every listed site has its "Raw" directory and list file, then loads the index.
void LoadSiteIndex(ProgramContext& context);

} // namespace kestrova
