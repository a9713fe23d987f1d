// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ProgressPercent.h"

#include <cmath>
#include <limits>

namespace ProgressPercent {

namespace {

int wholePart(double value)
{
    if (!std::isfinite(value))
        return 0;
    constexpr double limit = std::numeric_limits<int>::max();
    return value >= limit ? std::numeric_limits<int>::max() : value <= -limit ? -std::numeric_limits<int>::max()
                                                                              : int(value);
}

}  // namespace

int ofSpan(double part, double whole)
{
    if (!(whole > 0.0))
        return 0;
    return wholePart((100.0 / whole) * part);
}

int ofItem(double done, double length)
{
    const double wholeLength = std::trunc(length);
    if (wholeLength >= 1.0 && wholeLength <= 1.0e9)
        return wholePart(std::trunc(std::trunc(done) * 100.0 / wholeLength));
    return ofSpan(done, length);
}

}  // namespace ProgressPercent
