// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// Vector pictograms drawn into a square box; every picture of the set uses these, so an
// action looks the same on a window button and on a dialog button.
namespace Glyphs {

void plus(QPainter& p, const QRectF& box, const QColor& color);
void minus(QPainter& p, const QRectF& box, const QColor& color);
void cross(QPainter& p, const QRectF& box, const QColor& color);
void check(QPainter& p, const QRectF& box, const QColor& color);
void arrowUp(QPainter& p, const QRectF& box, const QColor& color);
void arrowDown(QPainter& p, const QRectF& box, const QColor& color);
void play(QPainter& p, const QRectF& box, const QColor& color);
void stop(QPainter& p, const QRectF& box, const QColor& color);
void pencil(QPainter& p, const QRectF& box, const QColor& color);
void trash(QPainter& p, const QRectF& box, const QColor& color);
void gear(QPainter& p, const QRectF& box, const QColor& color, const QColor& hole);
void wrench(QPainter& p, const QRectF& box, const QColor& color);
void folder(QPainter& p, const QRectF& box, const QColor& back, const QColor& front);
void screen(QPainter& p, const QRectF& box, const QColor& frame, const QColor& glass);
void globe(QPainter& p, const QRectF& box, const QColor& color);
void question(QPainter& p, const QRectF& box, const QColor& color);
void underscore(QPainter& p, const QRectF& box, const QColor& color);

}  // namespace Glyphs
