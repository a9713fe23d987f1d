// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPoint>
#include <QString>
#include <optional>

#include "res/MenuResource.h"

// The program's resources by number: pictures compiled in from res/, menus and strings.
// A number that names no resource gives a null image, no menu or an empty string.
class Resources {
public:
    static QImage bitmap(int number);
    static QImage icon(int number);
    // The application icon at every size it was drawn at, so a window picks a sharp one.
    static QIcon applicationIcon();
    static QImage cursorImage(int number);
    static QPoint cursorHotSpot(int number);
    // The cursor with its hot spot; the arrow when the number names no cursor.
    static QCursor cursor(int number);
    static std::optional<MenuResource> menu(int number);
    static QString string(int number);

private:
    static QImage load(const char* kind, int number);
};
