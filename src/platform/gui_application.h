#pragma once
// The one application object of a program without windows (tessaly-print), made when
// the renderer is first needed:
// fonts and printers need one, and no window is ever shown, so no display is needed.

namespace tessaly {

void EnsureGuiApplication();

} // namespace tessaly
