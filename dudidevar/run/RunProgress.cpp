// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/RunProgress.h"

namespace {
constexpr auto kProgressInterval = std::chrono::milliseconds(200);
}

RunProgress::RunProgress(const std::atomic<bool>& stopFlag, Report report)
    : stopFlag_(stopFlag), report_(std::move(report))
{
}

void RunProgress::report(double secondsDone, double totalSeconds)
{
    const auto now = std::chrono::steady_clock::now();
    const bool firstComplete = !completeReported_ && totalSeconds > 0 && secondsDone >= totalSeconds;
    if (reported_ && now - last_ < kProgressInterval && !firstComplete)
        return;
    completeReported_ = completeReported_ || firstComplete;
    reported_ = true;
    last_ = now;
    report_(secondsDone, totalSeconds);
}
