// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "ArtStyle.h"
#include "IconArt.h"

using namespace ArtStyle;

namespace {

constexpr double bodyEdge = 22.0;
constexpr double titleTabRight = 252.0;
constexpr double buttonTabLeft = 450.0;
constexpr double fillet = 8.0;

void inset(QPainter& p, const QRectF& r, double radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    p.fillPath(path, well);
    p.setPen(QPen(outline, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    // A light lip below and to the right makes the well look sunk into the body.
    p.setPen(QPen(wellEdge, 1));
    p.drawLine(QPointF(r.left() + radius, r.bottom() + 0.5), QPointF(r.right() - radius, r.bottom() + 0.5));
    p.drawLine(QPointF(r.right() + 0.5, r.top() + radius), QPointF(r.right() + 0.5, r.bottom() - radius));
}

void raisedPanel(QPainter& p, const QRectF& r, double radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(40, 51, 46));
    fill.setColorAt(1, rail);
    p.fillPath(path, fill);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(12, 16, 14, 160), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
}

}  // namespace

QPainterPath SkinArt::shape(double in)
{
    const double w = skinSize.width();
    const double h = skinSize.height();
    QPainterPath body;
    body.addRoundedRect(QRectF(in, bodyEdge + in, w - 2 * in, h - bodyEdge - 2 * in), 18 - in, 18 - in);
    QPainterPath titleTab;
    titleTab.addRoundedRect(QRectF(in, in, titleTabRight - 2 * in, 44), 14 - in, 14 - in);
    QPainterPath buttonTab;
    buttonTab.addRoundedRect(QRectF(buttonTabLeft + in, in, w - buttonTabLeft - 2 * in, 44), 12 - in, 12 - in);
    QPainterPath joins;
    // Concave fillets where the tabs meet the top of the body.
    QPainterPath left;
    left.addRect(QRectF(titleTabRight - in, bodyEdge - fillet + in, fillet, fillet));
    QPainterPath leftCut;
    leftCut.addEllipse(QPointF(titleTabRight - in + fillet, bodyEdge - fillet + in), fillet, fillet);
    QPainterPath right;
    right.addRect(QRectF(buttonTabLeft + in - fillet, bodyEdge - fillet + in, fillet, fillet));
    QPainterPath rightCut;
    rightCut.addEllipse(QPointF(buttonTabLeft + in - fillet, bodyEdge - fillet + in), fillet, fillet);
    joins = left.subtracted(leftCut).united(right.subtracted(rightCut));
    return body.united(titleTab).united(buttonTab).united(joins).simplified();
}

QImage SkinArt::draw()
{
    QImage skin(skinSize, QImage::Format_RGB32);
    skin.fill(Qt::white);
    paintBody(skin);
    QPainter p(&skin);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintTitle(p);
    paintWells(p);
    p.end();
    keepWhiteOutsideOnly(skin);
    return skin;
}

void SkinArt::paintBody(QImage& skin)
{
    QPainter p(&skin);
    // The outer edge is drawn without smoothing, so every edge pixel is either the window's
    // or pure white, and the region cut from the picture has no pale fringe.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(shape(), outline);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient fill(0, 0, 0, skinSize.height());
    fill.setColorAt(0, ArtStyle::bodyTop);
    fill.setColorAt(1, bodyBottom);
    p.fillPath(shape(1.0), fill);
    p.setPen(QPen(QColor(rim.red(), rim.green(), rim.blue(), 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape(1.5));
    // A soft sheen over the upper third.
    QLinearGradient sheen(0, 0, 0, 140);
    sheen.setColorAt(0, QColor(255, 255, 255, 18));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(shape(2.0), sheen);
}

void SkinArt::paintTitle(QPainter& p)
{
    p.drawImage(emblem.topLeft(), IconArt::emblem());
    p.setFont(labelFont(15));
    p.setPen(text);
    p.drawText(QRectF(32, 6, 100, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Marvane"));
    p.setFont(labelFont(10, false));
    p.setPen(sage);
    p.drawText(QRectF(106, 7, 140, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("batch video converter"));
}

void SkinArt::paintWells(QPainter& p)
{
    raisedPanel(p, leftRail, 10);
    raisedPanel(p, rightRail, 10);
    // A ring of light behind the Execute button.
    QRadialGradient glow(QPointF(480.5, 362.5), 40);
    glow.setColorAt(0, QColor(240, 180, 60, 60));
    glow.setColorAt(0.8, QColor(240, 180, 60, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(480.5, 362.5), 40, 40);

    inset(p, QRectF(taskList).adjusted(-2, -2, 2, 2), 4);
    inset(p, QRectF(videoArea).adjusted(-2, -2, 2, 2), 4);
    inset(p, QRectF(progressBar).adjusted(-2, -2, 2, 2), 4);

    p.setFont(labelFont(9));
    p.setPen(sage);
    p.drawText(QRectF(videoArea.left(), 201, 200, 12), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("PREVIEW  \u00b7  LOG"));
    p.drawText(QRectF(rightRail.left(), rightRail.top() + 8, rightRail.width(), 12), Qt::AlignCenter,
               QStringLiteral("OUTPUT"));
    p.drawText(QRectF(rightRail.left(), 312, rightRail.width(), 12), Qt::AlignCenter,
               QStringLiteral("CONVERT"));
}

void SkinArt::keepWhiteOutsideOnly(QImage& skin)
{
    QImage mask(skin.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(shape(), Qt::white);
    p.end();
    for (int y = 0; y < skin.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(skin.scanLine(y));
        const uchar* inside = mask.constScanLine(y);
        for (int x = 0; x < skin.width(); ++x) {
            if (!inside[x])
                line[x] = qRgb(255, 255, 255);
            else if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] = qRgb(254, 254, 254);
        }
    }
}
