// The system's own tty calls.
#include "link/TtyCalls.h"

#include <sys/ioctl.h>

namespace kestrova {

int TtyCalls::drain(int fd) {
    return ::tcdrain(fd);
}

int TtyCalls::getAttributes(int fd, termios& tio) {
    return ::tcgetattr(fd, &tio);
}

int TtyCalls::setAttributes(int fd, const termios& tio) {
    return ::tcsetattr(fd, TCSANOW, &tio);
}

int TtyCalls::setModemLine(int fd, int line, bool on) {
    return ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

TtyCalls& systemTtyCalls() {
    static TtyCalls calls;
    return calls;
}

} // namespace kestrova
