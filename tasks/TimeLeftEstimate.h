// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>

// Time left of a run, for the task under way and for the whole list, from the speed measured in
// this run: source seconds converted per second of the clock. Estimates are given once they are
// worth showing (5 % of the list done or 5 s of converting) and move at most a few percent from
// one update to the next beyond the time that passed, so they do not jump back and forth.
class TimeLeftEstimate {
public:
    // Seconds of a steady clock.
    using Clock = std::function<double()>;

    struct Estimate {
        std::optional<double> task;  // seconds left of the task under way
        std::optional<double> list;  // seconds left of the whole list
    };

    explicit TimeLeftEstimate(Clock clock = {});

    // A run starts: nothing measured yet.
    void startRun();
    // A task starts (its progress counts from 0 again).
    void startTask();
    // The task under way was converted to its end, past its last update.
    void finishTask();
    // The task has `taskDone` of `taskTotal` source seconds converted; the list has `listDone`
    // of `listTotal` (a total of 0 or less when the list is not measured yet).
    Estimate update(double taskDone, double taskTotal, double listDone, double listTotal);

    // "45 s left", "2 min 10 s left", "1 h 5 min left".
    static std::string text(double seconds);

private:
    std::optional<double> steady(std::optional<double>& shown, double raw, double now);

    Clock clock_;
    double runStart_ = 0.0;
    double converted_ = 0.0;
    double lastTaskDone_ = 0.0;
    double lastTaskTotal_ = 0.0;
    double lastUpdate_ = 0.0;
    std::optional<double> taskShown_;
    std::optional<double> listShown_;
};
