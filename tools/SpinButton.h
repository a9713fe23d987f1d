// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of arrows that step the number in the edit beside it. The range may run backwards:
// the up arrow always steps toward the upper position, the down arrow toward the lower one.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr);

    // Sits inside the right edge of the buddy, which it reads and writes.
    void setBuddy(QLineEdit* buddy);
    // The number at the lower and at the upper position.
    void setRange(int lower, int upper);
    int position() const { return position_; }

    void stepUp() { step(upper_ >= lower_ ? 1 : -1); }
    void stepDown() { step(upper_ >= lower_ ? -1 : 1); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void step(int delta);

    QLineEdit* buddy_ = nullptr;
    QToolButton* up_;
    QToolButton* down_;
    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
};
