// SIGINT and SIGTERM as a request to end a long-running command cleanly: while an object of
// this class lives, the two signals only set a flag that the command's loop looks at. The flag
// is the one piece of process-wide state here, because a signal handler can reach nothing
// else. POSIX only.
#pragma once

namespace kestrova::cli {

class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool received() const;
};

} // namespace kestrova::cli
