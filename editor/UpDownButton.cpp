// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/UpDownButton.h"

#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "editor/MpegChoice.h"

UpDownButton::UpDownButton(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum)
{
    up_ = makeArrow(Qt::UpArrow, 1);
    down_ = makeArrow(Qt::DownArrow, -1);
}

QToolButton* UpDownButton::makeArrow(Qt::ArrowType type, int steps)
{
    auto* arrow = new QToolButton(this);
    arrow->setArrowType(type);
    arrow->setAutoRepeat(true);
    arrow->setFocusPolicy(Qt::NoFocus);
    connect(arrow, &QToolButton::clicked, this, [this, steps] { stepBy(steps); });
    return arrow;
}

void UpDownButton::stepBy(int steps)
{
    const long long value = MpegChoice::fieldNumber(buddy_->text().toStdString());
    const long long next = std::clamp<long long>(value + steps, minimum_, maximum_);
    buddy_->setText(QString::number(next));
}

void UpDownButton::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}
