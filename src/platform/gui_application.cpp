#include "platform/gui_application.h"

#include <QGuiApplication>
#include <cstdlib>

namespace tessaly {

void EnsureGuiApplication() {
    if (QGuiApplication::instance())
        return;
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "tessaly-print";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: the PDF and the printer commands each need it, one
    // after the other.
    static QGuiApplication app(argc, argv);
}

} // namespace tessaly
