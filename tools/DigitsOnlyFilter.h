// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Lets only digits be typed into the edits it watches; editing keys pass, and the program may
// still write any text there.
class DigitsOnlyFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
