// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QVariantMap>
#include <QtCore/qtestsupport_core.h>

#include "platform/DesktopNotifier.h"

// Stands for the desktop's notification service and records what it was asked to show.
class FakeNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList summaries;
    QStringList bodies;
    QString appName;

public slots:
    uint Notify(const QString& app, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int)
    {
        appName = app;
        summaries << summary;
        bodies << body;
        return uint(summaries.size());
    }
};

namespace {

// A message bus of the test's own, so no notice reaches the developer's desktop.
class PrivateBus {
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        if (daemon.isEmpty())
            return;
        process_.start(daemon, {"--session", "--nofork", "--print-address"});
        if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(5000))
            return;
        address_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        for (const QString& name : names_)
            QDBusConnection::disconnectFromBus(name);
        process_.kill();
        process_.waitForFinished(5000);
    }
    bool running() const { return !address_.isEmpty(); }
    QDBusConnection connect(const QString& name)
    {
        names_ << name;
        return QDBusConnection::connectToBus(address_, name);
    }

private:
    QProcess process_;
    QString address_;
    QStringList names_;
};

}  // namespace

TEST(DesktopNotifier, NoticeReachesTheNotificationService)
{
    PrivateBus bus;
    if (!bus.running())
        GTEST_SKIP() << "dbus-daemon is not installed";
    FakeNotificationService service;
    QDBusConnection serviceSide = bus.connect("service");
    ASSERT_TRUE(serviceSide.registerService("org.freedesktop.Notifications"));
    ASSERT_TRUE(serviceSide.registerObject("/org/freedesktop/Notifications", &service,
                                           QDBusConnection::ExportAllSlots));

    DesktopNotifier notifier(bus.connect("client"));
    EXPECT_TRUE(notifier.notify("Marvane", "3 tasks done"));

    ASSERT_TRUE(QTest::qWaitFor([&] { return !service.bodies.isEmpty(); }));
    EXPECT_EQ(service.appName, "Marvane");
    EXPECT_EQ(service.summaries, QStringList{"Marvane"});
    EXPECT_EQ(service.bodies, QStringList{"3 tasks done"});
}

TEST(DesktopNotifier, WithoutServiceOrBusNothingFails)
{
    PrivateBus bus;
    if (!bus.running())
        GTEST_SKIP() << "dbus-daemon is not installed";
    DesktopNotifier onEmptyBus(bus.connect("lonely"));
    EXPECT_TRUE(onEmptyBus.notify("Marvane", "1 task done"));

    DesktopNotifier withoutBus(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "none"));
    EXPECT_FALSE(withoutBus.notify("Marvane", "1 task done"));
    QDBusConnection::disconnectFromBus("none");
}

#include "DesktopNotifierTest.moc"
