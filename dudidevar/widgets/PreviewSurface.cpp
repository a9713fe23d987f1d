// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/widgets/PreviewSurface.h"

#include <QPainter>

PreviewSurface::PreviewSurface(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewSurface::showPicture(const QImage& picture)
{
    picture_ = picture;
    ++picturesShown_;
    update();
}

void PreviewSurface::clear()
{
    picture_ = QImage();
    update();
}

QSize PreviewSurface::fittedSize(QSize shape) const
{
    if (shape.isEmpty() || size().isEmpty())
        return {};
    return shape.scaled(size(), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

void PreviewSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (picture_.isNull())
        return;
    QRect target(QPoint(0, 0), fittedSize(picture_.size()));
    target.moveCenter(rect().center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.size() != picture_.size());
    painter.drawImage(target, picture_);
}
