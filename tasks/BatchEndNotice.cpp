// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/BatchEndNotice.h"

namespace {

std::string tasksDone(int count)
{
    return std::to_string(count) + (count == 1 ? " task done" : " tasks done");
}

}  // namespace

std::string BatchEndNotice::body(const BatchOutcome& outcome)
{
    if (outcome.failedTask) {
        std::string text = "Task " + std::to_string(*outcome.failedTask + 1) + " failed";
        if (!outcome.failedDescription.empty())
            text += " (" + outcome.failedDescription + ")";
        if (!outcome.failureReason.empty())
            text += ": " + outcome.failureReason;
        return text;
    }
    std::string counts = tasksDone(outcome.tasksDone);
    if (outcome.tasksFailed > 0)
        counts += ", " + std::to_string(outcome.tasksFailed) + " failed";
    if (outcome.stopped)
        return "Stopped, " + counts;
    return counts;
}
