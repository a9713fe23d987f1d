// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// How a run of the task list ended, as the desktop notice tells it.
struct BatchOutcome {
    int tasksDone = 0;
    bool stopped = false;
    // Set when a task failed (its index in the list, counted from 0) and halted the run.
    std::optional<int> failedTask;
    std::string failedDescription;
    std::string failureReason;
    // Tasks that failed while the run went on past them.
    int tasksFailed = 0;
};

// The words of the notice shown when a run of the task list ends.
class BatchEndNotice {
public:
    static std::string summary() { return "Marvane"; }
    static std::string body(const BatchOutcome& outcome);
};
