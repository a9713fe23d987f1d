// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPainterPath>

// The main window's skin: a dark, rounded body with a title tab and a tab for the window
// buttons; everything outside the shape is pure white, the key colour of the window region.
class SkinArt {
public:
    static QPainterPath shape(double inset = 0.0);
    static QImage draw();

private:
    static void paintBody(QImage& skin);
    static void paintTitle(QPainter& p);
    static void paintWells(QPainter& p);
    static void keepWhiteOutsideOnly(QImage& skin);
};
