// The PDF writer of tessaly-print: the planned pages through the page renderer. Only
// this program links Qt; tessaly-cli hands "print --pdf" over to it.

#include "cli/print_commands.h"
#include "platform/page_renderer.h"
#include "platform/qt_text.h"

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

extern "C" bool tessaly_write_pdf(const tessaly::TPrintPlan* plan, const char* path,
                                  std::string* error) {
    using namespace tessaly;
    // Fonts need an application; no window is ever shown, so no display is needed.
    std::unique_ptr<QGuiApplication> app;
    if (!QGuiApplication::instance()) {
        if (!std::getenv("QT_QPA_PLATFORM"))
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "tessaly-print";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    QString reason;
    if (WritePlanPdf(*plan, PathFromCore(path), &reason))
        return true;
    if (error)
        *error = FromQString(reason);
    return false;
}
