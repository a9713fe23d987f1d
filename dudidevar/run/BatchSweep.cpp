// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/BatchSweep.h"

LeftoverSweep& BatchSweep::forOutput()
{
    const Ticks lastEnd = lastEnd_.exchange(kNoneYet);
    if (lastEnd == kNoneYet || clock_().time_since_epoch() - std::chrono::steady_clock::duration(lastEnd) >= kPause)
        sweep_ = LeftoverSweep();
    return sweep_;
}
