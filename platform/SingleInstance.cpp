// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QUrl>
#include <memory>

namespace {

constexpr int kWaitMs = 5000;
// The files, one a line (percent-encoded, so a name may hold any character), then an empty line.
const char kEnd[] = "\n";

}  // namespace

QString SingleInstance::keyOfThisSession()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
    display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return QStringLiteral("marvane-%1-%2").arg(::getuid()).arg(display);
}

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), key_(key), lock_(QDir::temp().filePath(key + QStringLiteral(".lock")))
{
    connect(&server_, &QLocalServer::newConnection, this, [this] { takeConnection(); });
}

bool SingleInstance::becomeFirst()
{
    if (!lock_.tryLock(0))
        return false;
    // A socket file left by a copy that crashed would refuse the name.
    QLocalServer::removeServer(key_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    // A copy that cannot listen still runs: later starts, finding no one to hand over to, open
    // windows of their own.
    server_.listen(key_);
    return true;
}

bool SingleInstance::handOver(const QStringList& files) const
{
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    QByteArray message;
    for (const QString& file : files)
        message += QUrl::toPercentEncoding(file, "/") + '\n';
    message += kEnd;
    socket.write(message);
    if (!socket.waitForBytesWritten(kWaitMs))
        return false;
    // The first copy closes the connection once it has the whole message.
    return socket.waitForDisconnected(kWaitMs) || socket.state() == QLocalSocket::UnconnectedState;
}

void SingleInstance::takeConnection()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto text = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, text] {
            *text += socket->readAll();
            if (!(*text == kEnd || text->endsWith("\n\n")))
                return;
            QStringList files;
            for (const QByteArray& line : text->split('\n')) {
                if (!line.isEmpty())
                    files.append(QUrl::fromPercentEncoding(line));
            }
            text->clear();
            socket->disconnectFromServer();
            // Whatever the files open (a modal editor) runs outside the socket's handler.
            QMetaObject::invokeMethod(this, [this, files] { emit filesHandedOver(files); }, Qt::QueuedConnection);
        });
    }
}
