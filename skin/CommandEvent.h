// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>

// A menu command posted to a window, handled after whatever posted it has finished.
class CommandEvent : public QEvent {
public:
    explicit CommandEvent(int command) : QEvent(type()), command_(command) {}

    static QEvent::Type type();
    int command() const { return command_; }

private:
    int command_;
};
