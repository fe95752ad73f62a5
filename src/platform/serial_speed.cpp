#include "platform/serial_speed.h"

#include <termios.h>

namespace tessaly {

bool SetStandardSpeed(termios& t, int baud) {
    speed_t speed;
    switch (baud) {
    case 110:
        speed = B110;
        break;
    case 300:
        speed = B300;
        break;
    case 1200:
        speed = B1200;
        break;
    case 2400:
        speed = B2400;
        break;
    case 4800:
        speed = B4800;
        break;
    case 9600:
        speed = B9600;
        break;
    case 19200:
        speed = B19200;
        break;
    case 38400:
        speed = B38400;
        break;
    case 57600:
        speed = B57600;
        break;
    case 115200:
        speed = B115200;
        break;
    default:
        return false;
    }
    return cfsetispeed(&t, speed) == 0 && cfsetospeed(&t, speed) == 0;
}

} // namespace tessaly
