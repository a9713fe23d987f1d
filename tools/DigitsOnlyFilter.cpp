// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DigitsOnlyFilter.h"

#include <QKeyEvent>

bool DigitsOnlyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        const bool printable = !text.isEmpty() && text.at(0).isPrint();
        if (printable) {
            for (const QChar c : text) {
                if (c < '0' || c > '9')
                    return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
