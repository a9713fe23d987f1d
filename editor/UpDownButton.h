// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// The small pair of arrows beside a number field: each press steps the field's number by one
// within the range.
class UpDownButton : public QWidget {
    Q_OBJECT
public:
    UpDownButton(QLineEdit* buddy, int minimum, int maximum, QWidget* parent);

    void stepBy(int steps);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* makeArrow(Qt::ArrowType type, int steps);

    QLineEdit* buddy_;
    int minimum_;
    int maximum_;
    QToolButton* up_;
    QToolButton* down_;
};
