// The calls the termios port makes on its device that can fail in ways a pseudo-terminal never
// shows (an interrupted drain, settings the driver does not take, modem lines it lacks), behind
// one seam so that the tests can make them fail. POSIX only.
#pragma once

#include <termios.h>

namespace kestrova {

class TtyCalls {
public:
    virtual ~TtyCalls() = default;
    virtual int drain(int fd);
    virtual int getAttributes(int fd, termios& tio);
    virtual int setAttributes(int fd, const termios& tio);
    // Raises or lowers one modem line (TIOCM_DTR, TIOCM_RTS).
    virtual int setModemLine(int fd, int line, bool on);
};

// The calls as the system makes them.
TtyCalls& systemTtyCalls();

} // namespace kestrova
