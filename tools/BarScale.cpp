// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/BarScale.h"

#include <algorithm>
#include <cmath>

BarScale::BarScale(double totalSeconds) : totalSeconds_(totalSeconds)
{
    const double whole = std::isfinite(totalSeconds) ? std::trunc(totalSeconds) : 0.0;
    if (whole >= 1.0 && whole <= kLargestRange) {
        maximum_ = int(whole);
        unitsPerSecond_ = 1.0;
    } else if (whole > kLargestRange) {
        maximum_ = kLargestRange;
        unitsPerSecond_ = kLargestRange / totalSeconds;
    } else {
        maximum_ = kShortRunRange;
        unitsPerSecond_ = totalSeconds > 0.0 ? kShortRunRange / totalSeconds : 0.0;
    }
}

int BarScale::position(double seconds) const
{
    if (!(seconds > 0.0))
        return 0;
    if (totalSeconds_ > 0.0 && seconds >= totalSeconds_)
        return maximum_;
    const double units = std::trunc(seconds * unitsPerSecond_);
    return int(std::min(units, double(maximum_)));
}
