// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RunCommand.h"

#include <QString>
#include <cstdio>
#include <optional>

#include "cli/CliExecutionView.h"
#include "cli/Interrupt.h"
#include "cli/ListRunUpdates.h"
#include "cli/RunOptions.h"
#include "cli/TaskRunLoop.h"
#include "engine/CDudidEvar.h"
#include "tasks/ListOutputCheck.h"
#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"

namespace RunCommand {

namespace {

// The terminal view that also reports each task's new status.
class ListRunView : public CliExecutionView {
public:
    std::function<void(std::size_t)> onStatus;
    void taskStatusChanged(std::size_t row) override
    {
        if (onStatus)
            onStatus(row);
    }
};

int usageError(const std::string& error)
{
    std::fprintf(stderr, "%s\nusage: marvane-cli %s\n", error.c_str(), kUsage);
    return 2;
}

// The list as a whole, refused when a task would write onto it or onto another task's file.
// Ctrl-C ends the program at once while it is read.
bool readList(const RunOptions& options, TaskList* tasks, std::string* error)
{
    const QString path = QString::fromStdString(options.list);
    Interrupt::setEndAtOnce(true);
    const bool read = TaskListFile::load(path, tasks, error);
    if (read) {
        *error = ListOutputCheck::writesList(*tasks, options.list);
        if (error->empty())
            *error = ListOutputCheck::clash(*tasks);
    }
    Interrupt::setEndAtOnce(false);
    return read && error->empty();
}

}  // namespace

int run(CDudidEvar& control, const std::vector<std::string>& args)
{
    RunOptions options;
    std::string error;
    if (!options.parse(args, &error))
        return usageError(error);
    TaskList tasks;
    std::vector<std::size_t> chosen;
    if (!readList(options, &tasks, &error) || !options.select(tasks.size(), &chosen, &error)) {
        std::fprintf(stderr, "%s: %s\n", options.list.c_str(), error.c_str());
        return 2;
    }

    // The whole list keeps its numbering; the tasks not taken count as done for this run.
    std::vector<bool> taken(tasks.size(), false);
    for (std::size_t index : chosen)
        taken[index] = true;
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        if (!taken[i])
            tasks.markDone(i);
    }

    std::optional<ListRunUpdates> updates;
    if (options.update)
        updates.emplace(QString::fromStdString(options.list), tasks);
    std::vector<bool> passedOver(tasks.size(), false);
    ListRunView view;
    view.onStatus = [&](std::size_t row) {
        if (updates)
            updates->writeStatus(row, tasks.at(row).status);
    };
    view.showWholeRun = chosen.size() > 1;
    TaskRunLoop::run(control, tasks, view, options.keepGoing, [&](std::size_t index) {
        passedOver[index] = updates && !updates->claim(index);
        return !passedOver[index];
    });
    if (updates)
        updates->releaseHeld();

    for (std::size_t index : chosen) {
        if (!passedOver[index] && tasks.at(index).status != TaskStatus::Done)
            return 1;
    }
    return updates && updates->failed() ? 1 : 0;
}

}  // namespace RunCommand
