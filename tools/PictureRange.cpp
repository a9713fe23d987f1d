#include "tools/PictureRange.h"

#include <cstdio>
#include <cstdlib>

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
    char shown[64];
    std::snprintf(shown, sizeof shown, "%.1f", duration);
    return end == std::strtod(shown, nullptr) ? duration : end;
}

PictureRange::PictureRange(double start, double end, double duration)
{
    end = endAsDuration(end, duration);
    const bool valid = start >= 0.0 && start <= duration && end >= 0.0 && end <= duration && start < end;
    start_ = valid ? start : 0.0;
    end_ = valid ? end : duration;
    asAsked_ = valid;
}
