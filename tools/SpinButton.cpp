// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/SpinButton.h"

#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

SpinButton::SpinButton(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    connect(up_, &QToolButton::clicked, this, &SpinButton::stepUp);
    connect(down_, &QToolButton::clicked, this, &SpinButton::stepDown);
}

void SpinButton::setBuddy(QLineEdit* buddy)
{
    buddy_ = buddy;
    const QRect edit = buddy->geometry();
    buddy->resize(edit.width() - width(), edit.height());
    move(buddy->geometry().right() + 1, edit.top());
    resize(width(), edit.height());
}

void SpinButton::setRange(int lower, int upper)
{
    lower_ = lower;
    upper_ = upper;
    position_ = std::clamp(position_, std::min(lower, upper), std::max(lower, upper));
}

void SpinButton::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

void SpinButton::step(int delta)
{
    const int low = std::min(lower_, upper_);
    const int high = std::max(lower_, upper_);
    if (buddy_) {
        bool isNumber = false;
        const int shown = buddy_->text().toInt(&isNumber);
        if (isNumber)
            position_ = std::clamp(shown, low, high);
    }
    position_ = std::clamp(position_ + delta, low, high);
    if (buddy_)
        buddy_->setText(QString::number(position_));
}
