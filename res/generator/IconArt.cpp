// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include "ArtStyle.h"
#include "Glyphs.h"

namespace {

QImage transparent(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A glyph with a one-pixel dark drop below it, so it reads on light and dark faces alike.
template <typename Draw>
QImage glyphIcon(Draw draw)
{
    QImage image = transparent(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, QRectF(0.5, 1.5, 15, 15), QColor(0, 0, 0, 70));
    draw(p, QRectF(0.5, 0.5, 15, 15), QColor());
    return image;
}

QColor orShadow(const QColor& shadow, const QColor& color) { return shadow.isValid() ? shadow : color; }

QImage radio(bool checked)
{
    QImage image = transparent(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ring(1.5, 1.5, 13, 13);
    if (checked) {
        QLinearGradient fill(ring.topLeft(), ring.bottomLeft());
        fill.setColorAt(0, QColor(110, 200, 120));
        fill.setColorAt(1, QColor(52, 140, 68));
        p.setPen(QPen(QColor(36, 100, 48), 1));
        p.setBrush(fill);
        p.drawEllipse(ring);
        Glyphs::check(p, QRectF(3.5, 3.5, 9, 9), Qt::white);
    } else {
        p.setPen(QPen(QColor(120, 132, 126), 1.2));
        p.setBrush(QColor(246, 248, 246));
        p.drawEllipse(ring);
    }
    return image;
}

}  // namespace

QImage IconArt::logo(int size)
{
    QImage image = transparent(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    const QRectF tile(0.5, 0.5, 15, 15);
    QLinearGradient fill(tile.topLeft(), tile.bottomRight());
    fill.setColorAt(0, QColor(250, 204, 92));
    fill.setColorAt(1, QColor(222, 128, 36));
    p.setPen(QPen(QColor(120, 66, 14), 0.8));
    p.setBrush(fill);
    p.drawRoundedRect(tile, 3.5, 3.5);
    // Film perforations down both sides, a play triangle between them.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 50, 12, 150));
    for (int i = 0; i < 4; ++i) {
        p.drawRoundedRect(QRectF(2.0, 2.6 + i * 3.0, 1.6, 1.6), 0.4, 0.4);
        p.drawRoundedRect(QRectF(12.4, 2.6 + i * 3.0, 1.6, 1.6), 0.4, 0.4);
    }
    Glyphs::play(p, QRectF(3.6, 3.4, 9.4, 9.4), Qt::white);
    return image;
}

QImage IconArt::emblem() { return logo(16); }

QImage IconArt::applicationIcon() { return logo(64); }

QImage IconArt::applicationIcon(int size) { return logo(size); }

QImage IconArt::dialogIcon(int number)
{
    using namespace ArtStyle;
    switch (number) {
    case 140: return radio(false);
    case 141: return radio(true);
    case 171:
        return glyphIcon([](QPainter& p, QRectF b, QColor s) { Glyphs::plus(p, b, orShadow(s, QColor(46, 150, 64))); });
    case 172:
        return glyphIcon([](QPainter& p, QRectF b, QColor s) { Glyphs::minus(p, b, orShadow(s, QColor(206, 64, 52))); });
    case 173:
        return glyphIcon([](QPainter& p, QRectF b, QColor s) { Glyphs::arrowDown(p, b, orShadow(s, QColor(40, 120, 196))); });
    case 174:
        return glyphIcon([](QPainter& p, QRectF b, QColor s) { Glyphs::arrowUp(p, b, orShadow(s, QColor(40, 120, 196))); });
    case 176:
        return glyphIcon([](QPainter& p, QRectF b, QColor s) { Glyphs::check(p, b, orShadow(s, QColor(46, 150, 64))); });
    case 177:
        return glyphIcon([](QPainter& p, QRectF b, QColor s) { Glyphs::cross(p, b, orShadow(s, QColor(206, 64, 52))); });
    case 179:
        return glyphIcon([](QPainter& p, QRectF b, QColor s) {
            Glyphs::folder(p, b, orShadow(s, QColor(214, 150, 40)), orShadow(s, QColor(246, 196, 84)));
        });
    case 180:
        return glyphIcon([](QPainter& p, QRectF b, QColor s) { Glyphs::play(p, b, orShadow(s, QColor(40, 120, 196))); });
    case 181:
        return glyphIcon([](QPainter& p, QRectF b, QColor s) {
            Glyphs::gear(p, b, orShadow(s, QColor(84, 98, 110)), Qt::transparent);
        });
    default: return {};
    }
}

QImage IconArt::pointingHand()
{
    // Drawn without smoothing: a monochrome cursor, black outline on white, the fingertip at (6, 1).
    QImage image = transparent(32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPolygon hand({{4, 2},   {5, 1},   {8, 1},   {9, 2},   {9, 9},   {10, 8},  {13, 8},
                         {14, 9},  {14, 10}, {15, 9},  {18, 9},  {19, 10}, {19, 11}, {20, 10},
                         {22, 10}, {23, 11}, {23, 20}, {21, 25}, {21, 28}, {9, 28},  {9, 25},
                         {2, 18},  {1, 16},  {1, 15},  {2, 14},  {3, 14},  {4, 15}});
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(hand);
    p.drawLine(9, 9, 9, 14);
    p.drawLine(14, 10, 14, 15);
    p.drawLine(19, 11, 19, 16);
    return image;
}
