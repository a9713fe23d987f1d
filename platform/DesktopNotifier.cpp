// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopNotifier.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace {

const char* const serviceName = "org.freedesktop.Notifications";
const char* const objectPath = "/org/freedesktop/Notifications";
const char* const interfaceName = "org.freedesktop.Notifications";
const int serverDefaultTimeout = -1;

}  // namespace

DesktopNotifier::DesktopNotifier() : bus_(QDBusConnection::sessionBus()) {}

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus) : bus_(bus) {}

bool DesktopNotifier::notify(const QString& summary, const QString& body)
{
    if (!bus_.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName, "Notify");
    call << QStringLiteral("Marvane") << 0u << QStringLiteral("marvane") << summary << body
         << QStringList() << QVariantMap() << serverDefaultTimeout;
    // Sent without waiting: the reply (the notice's id) is of no use here, and the error a
    // missing service answers with is dropped the same way.
    return bus_.send(call);
}
