// Kept apart: the kernel's terminal structures clash with the C library's <termios.h>.
#include "platform/serial_speed.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace tessaly {

bool SetCustomSpeed(int fd, int baud) {
    if (baud <= 0)
        return false;
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~CBAUD;
    t.c_cflag |= BOTHER;
    t.c_cflag &= ~(CBAUD << IBSHIFT);
    t.c_cflag |= BOTHER << IBSHIFT;
    t.c_ispeed = static_cast<speed_t>(baud);
    t.c_ospeed = static_cast<speed_t>(baud);
    return ioctl(fd, TCSETS2, &t) == 0;
}

} // namespace tessaly
