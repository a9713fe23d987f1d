// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/CommandEvent.h"

QEvent::Type CommandEvent::type()
{
    static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
    return registered;
}
