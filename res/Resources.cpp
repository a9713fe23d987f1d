// SPDX-License-Identifier: GPL-3.0-or-later
#include "res/Resources.h"

#include <QDir>
#include <QFile>

// The compiled-in pictures live in this static library; naming their initialiser makes the
// linker keep them in every program and test that loads a picture.
static void initialisePictures()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)done;
}

namespace {

constexpr int pointingHandCursor = 162;
constexpr int helpMenu = 158;
constexpr int toolsMenu = 164;
constexpr int aboutEntryString = 101;

}  // namespace

QImage Resources::load(const char* kind, int number)
{
    initialisePictures();
    const QString path = QStringLiteral(":/res/%1/%2.png").arg(QLatin1String(kind)).arg(number);
    if (!QFile::exists(path))
        return {};
    return QImage(path);
}

QImage Resources::bitmap(int number) { return load("bitmaps", number); }

QImage Resources::icon(int number) { return load("icons", number); }

QIcon Resources::applicationIcon()
{
    initialisePictures();
    QIcon icon;
    const QDir drawn(QStringLiteral(":/res/appicon"));
    for (const QString& name : drawn.entryList({QStringLiteral("*.png")}, QDir::Files))
        icon.addFile(drawn.filePath(name));
    return icon;
}

QImage Resources::cursorImage(int number) { return load("cursors", number); }

QPoint Resources::cursorHotSpot(int number)
{
    return number == pointingHandCursor ? QPoint(6, 1) : QPoint(0, 0);
}

QCursor Resources::cursor(int number)
{
    const QImage image = cursorImage(number);
    if (image.isNull())
        return QCursor(Qt::ArrowCursor);
    const QPoint hot = cursorHotSpot(number);
    return QCursor(QPixmap::fromImage(image), hot.x(), hot.y());
}

std::optional<MenuResource> Resources::menu(int number)
{
    switch (number) {
    case helpMenu:
        return MenuResource{{32771, QStringLiteral("Content")},
                            {},
                            {32772, QStringLiteral("Mail To Support")},
                            {},
                            {32775, QStringLiteral("About Marvane")},
                            {32776, QStringLiteral("Kestrune Software")}};
    case toolsMenu:
        return MenuResource{{32777, QStringLiteral("Extract image from video file")},
                            {32778, QStringLiteral("Extract audio from video file")},
                            {},
                            {32779, QStringLiteral("Save task list...")},
                            {32780, QStringLiteral("Open task list...")},
                            {32782, QStringLiteral("Remove finished tasks")},
                            {32783, QStringLiteral("Remove all tasks")},
                            {},
                            {32781, QStringLiteral("Go on after a failed task")}};
    default: return std::nullopt;
    }
}

QString Resources::string(int number)
{
    return number == aboutEntryString ? QStringLiteral("&About Ostrel...") : QString();
}
