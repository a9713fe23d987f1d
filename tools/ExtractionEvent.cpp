// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ExtractionEvent.h"

ExtractionEvent::ExtractionEvent(Type type, double first, double second)
    : QEvent(type), first_(first), second_(second)
{
}
