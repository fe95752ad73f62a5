#pragma once
// Line speeds of a terminal device: the standard ones through termios, the others
// (14400 among the speeds offered) through the driver's arbitrary-speed request.

struct termios;

namespace tessaly {

// Sets a standard speed in both directions; false when `baud` has no constant.
bool SetStandardSpeed(termios& t, int baud);
// Sets any speed on an open device; false when the driver refuses.
bool SetCustomSpeed(int fd, int baud);

} // namespace tessaly
