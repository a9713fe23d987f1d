// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <limits>

#include "dudidevar/run/LeftoverSweep.h"

// The sweep for killed runs' leftovers that outputs made one after another share: a tool that
// writes a file for each of its sources, or a list of tasks, is one run that reads each folder
// it writes into once. An output that starts after a pause (or the first one) begins a new run,
// whose sweep reads its folder again.
class BatchSweep {
public:
    using Clock = std::chrono::steady_clock::time_point (*)();
    // Outputs that start within this long of the end of the one before belong to its run.
    static constexpr std::chrono::seconds kPause{2};

    explicit BatchSweep(Clock clock = &std::chrono::steady_clock::now) : clock_(clock) {}

    // The sweep of an output that starts now (on the thread that prepares outputs).
    LeftoverSweep& forOutput();
    // The output has ended: done, failed, stopped or refused. From any thread.
    void outputEnded() { lastEnd_ = clock_().time_since_epoch().count(); }

private:
    using Ticks = std::chrono::steady_clock::rep;
    static constexpr Ticks kNoneYet = std::numeric_limits<Ticks>::min();

    Clock clock_;
    LeftoverSweep sweep_;
    std::atomic<Ticks> lastEnd_{kNoneYet};
};
