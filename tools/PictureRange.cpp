// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PictureRange.h"

#include "platform/PlainNumber.h"

long PictureRange::clampedRate(long perSecond)
{
    if (perSecond < kFewestPerSecond)
        return kFewestPerSecond;
    if (perSecond > kMostPerSecond)
        return kMostPerSecond;
    return perSecond;
}

double PictureRange::endAsDuration(double end, double duration)
{
    const auto shown = PlainNumber::parse(PlainNumber::fixed(duration, 1));
    return shown && end == *shown ? duration : end;
}

PictureRange::PictureRange(double start, double end, double duration)
{
    end = endAsDuration(end, duration);
    const bool valid = start >= 0.0 && start <= duration && end >= 0.0 && end <= duration && start < end;
    start_ = valid ? start : 0.0;
    end_ = valid ? end : duration;
    asAsked_ = valid;
}
