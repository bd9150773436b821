// Pre-processing of an upload: every clocking goes to the sites whose index holds its id (the
// common site's to the site of the clocking before them), and each site's clockings are merged
// into its day files. The upload file then gets its Done marker. Standard library only.
#pragma once

#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "processing/SiteMatches.h"

#include <filesystem>

namespace kestrova {

// Errors end the run as exceptions; the busy panel is hidden and no bucket file stays behind.
void PreprocessUpload(ProgramContext& context, MainState& state,
                      const std::filesystem::path& uploadFile,
                      SiteMatching matching = SiteMatching::Indexed);

} // namespace kestrova
