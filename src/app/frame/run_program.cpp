#include "app/frame/run_program.h"

#include "app/calendar/cal_view.h"
#include "app/frame/about_box.h"
#include "app/frame/first_paint_timer.h"
#include "app/frame/main_form.h"
#include "app/frame/signal_watcher.h"
#include "app/frame/single_instance.h"
#include "app/widgets/app_context.h"
#include "core/frame/start_up.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTimer>
#include <iostream>

#ifndef TESSALY_PRODUCT_VERSION
#define TESSALY_PRODUCT_VERSION ""
#endif
#ifndef TESSALY_FILE_VERSION
#define TESSALY_FILE_VERSION ""
#endif

namespace tessaly {

int RunProgram(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Marrowby");
    QApplication::setApplicationName("Tessaly");
    QApplication::setApplicationVersion(TESSALY_PRODUCT_VERSION);

    QString file;
    QString screenshot;
    bool timeFirstPaint = false;
    bool timeCalendar = false;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--screenshot" && i + 1 < args.size())
            screenshot = args[++i];
        else if (args[i] == "--time-first-paint")
            timeFirstPaint = true;
        else if (args[i] == "--time-calendar")
            timeCalendar = true;
        else if (file.isEmpty() && !args[i].startsWith("--"))
            file = args[i];
    }

    // 1. A running copy takes the file and comes to the front; this copy ends.
    TInstanceServer server;
    const THandOver handOver = HandOverFor(PathToCore(file), PathToCore(QDir::currentPath()));
    if (HandOverOrListen(server, InstanceName(), handOver))
        return 0;

    TAppContext context = TAppContext::FromEnvironment();
    context.ProductVersion = TESSALY_PRODUCT_VERSION;
    context.FileVersion = TESSALY_FILE_VERSION;

    TFirstPaintTimer firstPaint(started, timeCalendar ? TFirstPaintTimer::TTarget::MonthView
                                                      : TFirstPaintTimer::TTarget::EntryList);
    if (timeFirstPaint || timeCalendar)
        app.installEventFilter(&firstPaint);

    // 2. The splash, painted at once.
    auto* splash = new TAboutBox(
        ToQString(MakeVersionText(TESSALY_PRODUCT_VERSION, TESSALY_FILE_VERSION)), true);
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    // 3. The frame.
    TMainForm frame(context);
    frame.SetSplash(splash);
    QObject::connect(&server, &TInstanceServer::HandedOver, &frame, &TMainForm::HandOver);
    TSignalWatcher watcher;
    QObject::connect(&watcher, &TSignalWatcher::TerminationRequested, &frame,
                     [&frame] { frame.ShutdownFromSignal(); });
    frame.show();
    // Timing the calendar: the file is a diary, shown in the month tab.
    frame.FormShow(timeCalendar ? QString() : file);
    if (timeCalendar && !file.isEmpty() && frame.OpenDiaryFile(file, true, false))
        frame.ShowCalendar()->Tabs()->setCurrentIndex(TCalView::kMonthTab);

    if (!screenshot.isEmpty())
        QTimer::singleShot(1500, &frame, [&frame, screenshot] {
            if (!frame.grab().save(screenshot))
                std::cerr << "tessaly: could not save " << PathToCore(screenshot) << '\n';
            frame.close();
        });
    // A signal's shut-down waits for this level: dialogs shown before it (by the first
    // show) and during it run loops of their own.
    frame.SetMainLoopLevel(1);
    return app.exec();
}

} // namespace tessaly
