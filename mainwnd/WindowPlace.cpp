// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwnd/WindowPlace.h"

#include <algorithm>
#include <string>

#include "platform/Registry.h"

namespace {

const char* const kSettingsKey = "Software\\Marvane\\Settings";
const char* const kPlaceName = "WindowPlace";

long long overlap(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : static_cast<long long>(common.width()) * common.height();
}

// The corner moved the least so that the window lies on the screen; a screen smaller than the
// window gets its top-left corner in view.
QPoint clampedInto(const QPoint& topLeft, const QSize& size, const QRect& screen)
{
    const int x = std::max(screen.left(), std::min(topLeft.x(), screen.right() + 1 - size.width()));
    const int y = std::max(screen.top(), std::min(topLeft.y(), screen.bottom() + 1 - size.height()));
    return {x, y};
}

}  // namespace

std::optional<QPoint> WindowPlace::kept()
{
    const auto stored = Registry::instance().value(Registry::Root::CurrentUser, kSettingsKey, kPlaceName);
    if (!stored)
        return std::nullopt;
    const QStringList parts = QString::fromStdString(*stored).split(QLatin1Char(','));
    bool xRead = false;
    bool yRead = false;
    if (parts.size() != 2)
        return std::nullopt;
    const int x = parts[0].trimmed().toInt(&xRead);
    const int y = parts[1].trimmed().toInt(&yRead);
    if (!xRead || !yRead)
        return std::nullopt;
    return QPoint(x, y);
}

void WindowPlace::keep(const QPoint& topLeft)
{
    Registry::instance().setValue(Registry::Root::CurrentUser, kSettingsKey, kPlaceName,
                                  std::to_string(topLeft.x()) + "," + std::to_string(topLeft.y()));
}

QPoint WindowPlace::onScreen(const QPoint& topLeft, const QSize& size, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return topLeft;
    const QRect window(topLeft, size);
    const QRect* best = &screens.front();
    long long bestOverlap = 0;
    for (const QRect& screen : screens) {
        if (screen.contains(window))
            return topLeft;
        const long long shared = overlap(window, screen);
        if (shared > bestOverlap) {
            bestOverlap = shared;
            best = &screen;
        }
    }
    return clampedInto(topLeft, size, *best);
}
