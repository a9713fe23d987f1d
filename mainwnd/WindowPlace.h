// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

// Where the main window opens: the place it had when it last closed, kept in the current user's
// hive, moved onto the screens there are now when it would open partly or wholly off them.
class WindowPlace {
public:
    // The kept top-left corner, if one was kept and reads as two numbers.
    static std::optional<QPoint> kept();
    static void keep(const QPoint& topLeft);

    // The top-left corner at which a window of the size lies wholly on one of the screens
    // (their available areas, the first the primary): the corner itself when it does, else the
    // nearest such corner on the screen the window overlaps most, or on the primary screen.
    static QPoint onScreen(const QPoint& topLeft, const QSize& size, const QList<QRect>& screens);
};
