// SPDX-License-Identifier: GPL-3.0-or-later
#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "ArtStyle.h"

namespace {

// Draws a path in the box's own coordinates, where the box is 0..1 in both directions.
class UnitBox {
public:
    UnitBox(QPainter& p, const QRectF& box) : p_(p)
    {
        p_.save();
        p_.translate(box.topLeft());
        p_.scale(box.width(), box.height());
    }
    ~UnitBox() { p_.restore(); }

private:
    QPainter& p_;
};

void strokeUnit(QPainter& p, const QRectF& box, const QPainterPath& path, const QColor& color,
                double width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    const QPainterPath outline = stroker.createStroke(path);
    UnitBox unit(p, box);
    p.fillPath(outline, color);
}

}  // namespace

void Glyphs::plus(QPainter& p, const QRectF& box, const QColor& color)
{
    QPainterPath path;
    path.moveTo(0.5, 0.14);
    path.lineTo(0.5, 0.86);
    path.moveTo(0.14, 0.5);
    path.lineTo(0.86, 0.5);
    strokeUnit(p, box, path, color, 0.24);
}

void Glyphs::minus(QPainter& p, const QRectF& box, const QColor& color)
{
    QPainterPath path;
    path.moveTo(0.14, 0.5);
    path.lineTo(0.86, 0.5);
    strokeUnit(p, box, path, color, 0.24);
}

void Glyphs::cross(QPainter& p, const QRectF& box, const QColor& color)
{
    QPainterPath path;
    path.moveTo(0.2, 0.2);
    path.lineTo(0.8, 0.8);
    path.moveTo(0.8, 0.2);
    path.lineTo(0.2, 0.8);
    strokeUnit(p, box, path, color, 0.22);
}

void Glyphs::check(QPainter& p, const QRectF& box, const QColor& color)
{
    QPainterPath path;
    path.moveTo(0.14, 0.52);
    path.lineTo(0.4, 0.78);
    path.lineTo(0.88, 0.24);
    strokeUnit(p, box, path, color, 0.2);
}

void Glyphs::arrowUp(QPainter& p, const QRectF& box, const QColor& color)
{
    QPainterPath path;
    path.moveTo(0.5, 0.86);
    path.lineTo(0.5, 0.16);
    path.moveTo(0.18, 0.46);
    path.lineTo(0.5, 0.14);
    path.lineTo(0.82, 0.46);
    strokeUnit(p, box, path, color, 0.2);
}

void Glyphs::arrowDown(QPainter& p, const QRectF& box, const QColor& color)
{
    QPainterPath path;
    path.moveTo(0.5, 0.14);
    path.lineTo(0.5, 0.84);
    path.moveTo(0.18, 0.54);
    path.lineTo(0.5, 0.86);
    path.lineTo(0.82, 0.54);
    strokeUnit(p, box, path, color, 0.2);
}

void Glyphs::play(QPainter& p, const QRectF& box, const QColor& color)
{
    QPainterPath path;
    path.moveTo(0.28, 0.18);
    path.lineTo(0.82, 0.5);
    path.lineTo(0.28, 0.82);
    path.closeSubpath();
    QPainterPathStroker stroker;
    stroker.setWidth(0.1);
    stroker.setJoinStyle(Qt::RoundJoin);
    const QPainterPath rounded = path.united(stroker.createStroke(path));
    UnitBox unit(p, box);
    p.fillPath(rounded, color);
}

void Glyphs::stop(QPainter& p, const QRectF& box, const QColor& color)
{
    UnitBox unit(p, box);
    QPainterPath path;
    path.addRoundedRect(QRectF(0.2, 0.2, 0.6, 0.6), 0.12, 0.12);
    p.fillPath(path, color);
}

void Glyphs::pencil(QPainter& p, const QRectF& box, const QColor& color)
{
    UnitBox unit(p, box);
    p.translate(0.5, 0.5);
    p.rotate(-45);
    QPainterPath body;
    body.addRoundedRect(QRectF(-0.24, -0.12, 0.56, 0.24), 0.05, 0.05);
    QPainterPath tip;
    tip.moveTo(-0.28, -0.12);
    tip.lineTo(-0.46, 0.0);
    tip.lineTo(-0.28, 0.12);
    tip.closeSubpath();
    p.fillPath(body, color);
    p.fillPath(tip, color);
    QPainterPath band;
    band.addRect(QRectF(0.18, -0.12, 0.04, 0.24));
    p.fillPath(band, QColor(0, 0, 0, 90));
}

void Glyphs::trash(QPainter& p, const QRectF& box, const QColor& color)
{
    UnitBox unit(p, box);
    QPainterPath can;
    can.moveTo(0.24, 0.3);
    can.lineTo(0.76, 0.3);
    can.lineTo(0.7, 0.9);
    can.lineTo(0.3, 0.9);
    can.closeSubpath();
    QPainterPath lid;
    lid.addRoundedRect(QRectF(0.14, 0.17, 0.72, 0.09), 0.04, 0.04);
    lid.addRoundedRect(QRectF(0.4, 0.09, 0.2, 0.1), 0.03, 0.03);
    QPainterPath grooves;
    for (double x : {0.4, 0.5, 0.6})
        grooves.addRect(QRectF(x - 0.025, 0.4, 0.05, 0.4));
    p.fillPath(can.subtracted(grooves), color);
    p.fillPath(lid, color);
}

void Glyphs::gear(QPainter& p, const QRectF& box, const QColor& color, const QColor& hole)
{
    UnitBox unit(p, box);
    p.translate(0.5, 0.5);
    QPainterPath wheel;
    wheel.addEllipse(QPointF(0, 0), 0.32, 0.32);
    for (int i = 0; i < 8; ++i) {
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-0.08, -0.46, 0.16, 0.2), 0.03, 0.03);
        wheel = wheel.united(QTransform().rotate(i * 45.0).map(tooth));
    }
    QPainterPath bore;
    bore.addEllipse(QPointF(0, 0), 0.13, 0.13);
    p.fillPath(wheel.subtracted(bore), color);
    if (hole.alpha() > 0)
        p.fillPath(bore, hole);
}

void Glyphs::wrench(QPainter& p, const QRectF& box, const QColor& color)
{
    UnitBox unit(p, box);
    p.translate(0.5, 0.5);
    p.rotate(45);
    QPainterPath head;
    head.addEllipse(QPointF(0, -0.26), 0.2, 0.2);
    QPainterPath jaw;
    jaw.addRect(QRectF(-0.07, -0.5, 0.14, 0.25));
    QPainterPath handle;
    handle.addRoundedRect(QRectF(-0.085, -0.16, 0.17, 0.62), 0.08, 0.08);
    p.fillPath(head.subtracted(jaw).united(handle), color);
}

void Glyphs::folder(QPainter& p, const QRectF& box, const QColor& back, const QColor& front)
{
    UnitBox unit(p, box);
    QPainterPath rear;
    rear.moveTo(0.06, 0.22);
    rear.lineTo(0.38, 0.22);
    rear.lineTo(0.46, 0.3);
    rear.lineTo(0.94, 0.3);
    rear.lineTo(0.94, 0.84);
    rear.lineTo(0.06, 0.84);
    rear.closeSubpath();
    p.fillPath(rear, back);
    QPainterPath lid;
    lid.moveTo(0.06, 0.42);
    lid.lineTo(0.94, 0.42);
    lid.lineTo(0.94, 0.84);
    lid.lineTo(0.06, 0.84);
    lid.closeSubpath();
    p.fillPath(lid, front);
}

void Glyphs::screen(QPainter& p, const QRectF& box, const QColor& frame, const QColor& glass)
{
    {
        UnitBox unit(p, box);
        QPainterPath body;
        body.addRoundedRect(QRectF(0.04, 0.12, 0.92, 0.64), 0.08, 0.08);
        QPainterPath stand;
        stand.addRoundedRect(QRectF(0.3, 0.84, 0.4, 0.08), 0.04, 0.04);
        stand.addRect(QRectF(0.44, 0.74, 0.12, 0.12));
        p.fillPath(body.united(stand), frame);
        QPainterPath pane;
        pane.addRoundedRect(QRectF(0.11, 0.19, 0.78, 0.5), 0.04, 0.04);
        p.fillPath(pane, glass);
    }
    const QRectF inner(box.x() + box.width() * 0.32, box.y() + box.height() * 0.2,
                       box.width() * 0.4, box.height() * 0.48);
    play(p, inner, frame);
}

void Glyphs::globe(QPainter& p, const QRectF& box, const QColor& color)
{
    QPainterPath lines;
    lines.addEllipse(QRectF(0.1, 0.1, 0.8, 0.8));
    lines.addEllipse(QRectF(0.32, 0.1, 0.36, 0.8));
    lines.moveTo(0.1, 0.5);
    lines.lineTo(0.9, 0.5);
    lines.moveTo(0.5, 0.1);
    lines.lineTo(0.5, 0.9);
    strokeUnit(p, box, lines, color, 0.09);
}

void Glyphs::question(QPainter& p, const QRectF& box, const QColor& color)
{
    QPainterPath path;
    path.moveTo(0.3, 0.36);
    path.cubicTo(0.3, 0.1, 0.72, 0.1, 0.72, 0.34);
    path.cubicTo(0.72, 0.5, 0.5, 0.5, 0.5, 0.64);
    strokeUnit(p, box, path, color, 0.17);
    UnitBox unit(p, box);
    QPainterPath dot;
    dot.addEllipse(QPointF(0.5, 0.86), 0.1, 0.1);
    p.fillPath(dot, color);
}

void Glyphs::underscore(QPainter& p, const QRectF& box, const QColor& color)
{
    QPainterPath path;
    path.moveTo(0.24, 0.68);
    path.lineTo(0.76, 0.68);
    strokeUnit(p, box, path, color, 0.2);
}
