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
    if (outcome.stopped)
        return "Stopped, " + tasksDone(outcome.tasksDone);
    return tasksDone(outcome.tasksDone);
}
