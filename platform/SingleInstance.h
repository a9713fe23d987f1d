// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

// One window per user and display. The first start holds a lock file and listens on a local
// socket; a later start hands its files over through the socket and ends. The lock belongs to a
// process, so a first copy that crashed never blocks the next start.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The name shared by the starts of one user on one display.
    static QString keyOfThisSession();

    explicit SingleInstance(const QString& key, QObject* parent = nullptr);

    // True when this process is the first (it listens from now on); false when another copy
    // holds the lock.
    bool becomeFirst();
    // Hands the files (absolute paths; none just brings the window to the front) to the first
    // copy; false when it cannot be reached.
    bool handOver(const QStringList& files) const;

signals:
    // Another start handed these files over.
    void filesHandedOver(const QStringList& files);

private:
    void takeConnection();

    QString key_;
    QLockFile lock_;
    QLocalServer server_;
};
