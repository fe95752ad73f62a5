#include "app/widgets/app_context.h"

#include "core/frame/instance_name.h"
#include "core/frame/start_up.h"
#include "platform/desktop_shell.h"
#include "platform/qt_settings_store.h"
#include "platform/qt_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tessaly {

TAppContext TAppContext::FromEnvironment() {
    TAppContext c;
    const QString ini = qEnvironmentVariable("TESSALY_SETTINGS_FILE");
    if (!ini.isEmpty())
        c.Store = std::make_unique<QtSettingsStore>(PathToCore(ini));
    else
        c.Store = std::make_unique<QtSettingsStore>();
    c.Desktop = std::make_unique<TDesktopShell>();
    c.ConfigDirectory = qEnvironmentVariable("TESSALY_CONFIG_DIR");
    if (c.ConfigDirectory.isEmpty()) {
        // ~/.config/Marrowby/Tessaly on Linux.
        c.ConfigDirectory =
            QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                .filePath("Marrowby/Tessaly");
    }
    c.ProgramDirectory = QCoreApplication::applicationDirPath();
    c.ProgramName =
        PathFromCore(ProgramNameOf(PathToCore(QCoreApplication::applicationFilePath())));
    return c;
}

QString TAppContext::IniPath() const {
    return QDir(ConfigDirectory).filePath(ProgramName + ".INI");
}

QString InstanceName(const QString& base) {
    TInstanceEnvironment e;
    QString user = base.isEmpty() ? qEnvironmentVariable("TESSALY_INSTANCE") : base;
    if (user.isEmpty()) {
#ifdef Q_OS_UNIX
        user = QStringLiteral("tessaly-%1").arg(getuid());
#else
        user = QStringLiteral("tessaly-%1").arg(qEnvironmentVariable("USERNAME"));
#endif
    }
    e.Base = PathToCore(user);
    e.XDisplay = PathToCore(qEnvironmentVariable("DISPLAY"));
    e.WaylandDisplay = PathToCore(qEnvironmentVariable("WAYLAND_DISPLAY"));
    e.RuntimeDir = PathToCore(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    return PathFromCore(tessaly::InstanceName(e));
}

} // namespace tessaly
