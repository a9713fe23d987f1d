// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/TimeLeftEstimate.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr double kStableShare = 0.05;
constexpr double kStableSeconds = 5.0;
// How far an estimate may move from one update to the next, beyond the time that passed.
constexpr double kStep = 0.03;

double steadyClockSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

TimeLeftEstimate::TimeLeftEstimate(Clock clock) : clock_(clock ? std::move(clock) : Clock(steadyClockSeconds)) {}

void TimeLeftEstimate::startRun()
{
    runStart_ = clock_();
    lastUpdate_ = runStart_;
    converted_ = 0.0;
    lastTaskDone_ = 0.0;
    lastTaskTotal_ = 0.0;
    taskShown_.reset();
    listShown_.reset();
}

void TimeLeftEstimate::startTask()
{
    lastTaskDone_ = 0.0;
    lastTaskTotal_ = 0.0;
    taskShown_.reset();
}

void TimeLeftEstimate::finishTask()
{
    converted_ += std::max(0.0, lastTaskTotal_ - lastTaskDone_);
    lastTaskDone_ = lastTaskTotal_;
}

TimeLeftEstimate::Estimate TimeLeftEstimate::update(double taskDone, double taskTotal, double listDone,
                                                     double listTotal)
{
    const double now = clock_();
    if (std::isfinite(taskTotal))
        lastTaskTotal_ = taskTotal;
    if (std::isfinite(taskDone) && taskDone > lastTaskDone_) {
        converted_ += taskDone - lastTaskDone_;
        lastTaskDone_ = taskDone;
    }
    const double elapsed = now - runStart_;
    const double share = listTotal > 0.0 ? listDone / listTotal : (taskTotal > 0.0 ? taskDone / taskTotal : 0.0);
    Estimate shown;
    if (converted_ > 0.0 && elapsed > 0.0 && (share >= kStableShare || elapsed >= kStableSeconds)) {
        const double speed = converted_ / elapsed;
        if (taskTotal > 0.0)
            shown.task = steady(taskShown_, std::max(0.0, taskTotal - taskDone) / speed, now);
        if (listTotal > 0.0)
            shown.list = steady(listShown_, std::max(0.0, listTotal - listDone) / speed, now);
    }
    lastUpdate_ = now;
    return shown;
}

// The new estimate, kept within a few percent of the one shown before less the time since then.
std::optional<double> TimeLeftEstimate::steady(std::optional<double>& shown, double raw, double now)
{
    if (!std::isfinite(raw))
        return shown;
    if (shown) {
        const double expected = std::max(0.0, *shown - (now - lastUpdate_));
        raw = std::clamp(raw, expected * (1.0 - kStep), expected * (1.0 + kStep) + 0.5);
    }
    shown = raw;
    return shown;
}

std::string TimeLeftEstimate::text(double seconds)
{
    const long whole = std::lround(std::max(0.0, seconds));
    if (whole < 60)
        return std::to_string(whole) + " s left";
    if (whole < 3600)
        return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s left";
    return std::to_string(whole / 3600) + " h " + std::to_string(whole % 3600 / 60) + " min left";
}
