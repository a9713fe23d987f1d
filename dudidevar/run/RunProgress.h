// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

// What a run's work sees of its host: the stop request and a throttled progress report.
class RunProgress {
public:
    using Report = std::function<void(double, double)>;
    RunProgress(const std::atomic<bool>& stopFlag, Report report);

    bool stopRequested() const { return stopFlag_.load(std::memory_order_relaxed); }
    // For work that runs on threads of its own and must see the stop too.
    const std::atomic<bool>& stopFlag() const { return stopFlag_; }
    // Passed on at most a few times a second; the first report and the one that says the
    // work is complete always go out.
    void report(double secondsDone, double totalSeconds);

private:
    const std::atomic<bool>& stopFlag_;
    Report report_;
    std::chrono::steady_clock::time_point last_{};
    bool reported_ = false;
    bool completeReported_ = false;
};
