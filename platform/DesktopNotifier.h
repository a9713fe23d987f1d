// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QString>

// Shows a desktop notification through the freedesktop notification service on a D-Bus bus.
// Sending never waits for the service; where no bus or no service is there, nothing is shown
// and nothing fails.
class DesktopNotifier {
public:
    // The user's session bus.
    DesktopNotifier();
    explicit DesktopNotifier(const QDBusConnection& bus);

    // False when there is no bus to send to; true once the notice is on its way.
    bool notify(const QString& summary, const QString& body);

private:
    QDBusConnection bus_;
};
