#include "platform/dbus_notifier.h"

#include "platform/qt_text.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

namespace tessaly {

namespace {
constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr int kExpireMs = 10000;
} // namespace

bool TDBusNotifier::Notify(const std::string& summary, const std::string& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(kService).value())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "Notify");
    // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout
    call << QString("Tessaly") << quint32(0) << QString("tessaly") << ToQString(summary)
         << ToQString(body) << QStringList() << QVariantMap() << qint32(kExpireMs);
    // No answer is awaited: the alarm window is already up, and a slow service must
    // not hold the program.
    return bus.send(call);
}

} // namespace tessaly
