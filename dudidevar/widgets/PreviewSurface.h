// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

// The control's own window: black, with the preview's current picture scaled to fit and its
// shape kept.
class PreviewSurface : public QWidget {
    Q_OBJECT
public:
    explicit PreviewSurface(QWidget* parent = nullptr);

    void showPicture(const QImage& picture);
    void clear();

    const QImage& picture() const { return picture_; }
    // How many pictures were shown since the surface was made.
    int picturesShown() const { return picturesShown_; }
    // The largest size of the given shape that fits the surface.
    QSize fittedSize(QSize shape) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    int picturesShown_ = 0;
};
