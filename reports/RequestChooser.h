// The unknown-checkpoint choice of a report request. A request hands clockings read back from
// the day files to upload processing; ids that no site lists were placed or ignored when they
// were uploaded, so a request reports them nowhere and asks nobody. Standard library and
// processing only.
#pragma once

#include "processing/UnknownCheckpoints.h"

namespace kestrova {

class IgnoreUnknownCheckpoints : public UnknownCheckpointChooser {
public:
    void choose(UnknownCheckpointPlacement& placement) override { placement.ignore(); }
};

} // namespace kestrova
