// The PDF writer of tessaly-print: the planned pages through the page renderer. Only
// this program links Qt; tessaly-cli hands "print --pdf" over to it.

#include "cli/print_commands.h"
#include "platform/gui_application.h"
#include "platform/page_renderer.h"
#include "platform/qt_text.h"

extern "C" bool tessaly_write_pdf(const tessaly::TPrintPlan* plan, const char* path,
                                  std::string* error) {
    using namespace tessaly;
    EnsureGuiApplication();
    QString reason;
    if (WritePlanPdf(*plan, PathFromCore(path), &reason))
        return true;
    if (error)
        *error = FromQString(reason);
    return false;
}
