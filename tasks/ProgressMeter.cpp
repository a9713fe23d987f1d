// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/ProgressMeter.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace ProgressMeter {

namespace {

constexpr double kUnitsPerSecond = 1000.0;

int toUnits(double seconds)
{
    if (!(seconds > 0.0))  // also NaN
        return 0;
    return static_cast<int>(std::min(std::round(seconds * kUnitsPerSecond), double(INT_MAX)));
}

}  // namespace

int barMaximum(double length)
{
    return std::max(toUnits(length), 1);
}

int barPosition(double done, double length)
{
    return std::min(toUnits(done), barMaximum(length));
}

double percent(double done, double length)
{
    if (!(length > 0.0) || !(done > 0.0))
        return 0.0;
    return std::min(done / length * 100.0, 100.0);
}

}  // namespace ProgressMeter
