#include "cli/RunCommand.h"

#include <QLockFile>
#include <QString>
#include <cstdio>
#include <map>

#include "cli/CliExecutionView.h"
#include "cli/RunOptions.h"
#include "cli/TaskRunLoop.h"
#include "engine/CDudidEvar.h"
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

// Writes the statuses of the tasks this run took into the list file, leaving every other task
// as the file holds it now: other runs of the same list (other shards) write into it too, one
// at a time.
class StatusWriter {
public:
    StatusWriter(QString path, std::size_t count) : path_(std::move(path)), count_(count) {}

    bool write(const std::map<std::size_t, TaskStatus>& statuses, std::string* error) const
    {
        QLockFile lock(path_ + QStringLiteral(".lock"));
        lock.setStaleLockTime(60000);
        if (!lock.tryLock(30000))
            return *error = lock.error() == QLockFile::LockFailedError ? "the list stayed locked by another run"
                                                                        : "cannot lock the list for writing",
                   false;
        std::vector<ConversionTask> current;
        if (!TaskListFile::load(path_, &current, error))
            return false;
        if (current.size() != count_)
            return *error = "the list changed while it ran", false;
        TaskList list;
        for (ConversionTask& task : current)
            list.appendTask(std::move(task));
        for (const auto& [index, status] : statuses)
            list.at(index).status = status;
        return TaskListFile::save(list, path_, error);
    }

private:
    QString path_;
    std::size_t count_;
};

int usageError(const std::string& error)
{
    std::fprintf(stderr, "%s\nusage: marvane-cli %s\n", error.c_str(), kUsage);
    return 2;
}

}  // namespace

int run(CDudidEvar& control, const std::vector<std::string>& args)
{
    RunOptions options;
    std::string error;
    if (!options.parse(args, &error))
        return usageError(error);
    const QString path = QString::fromStdString(options.list);
    std::vector<ConversionTask> read;
    if (!TaskListFile::load(path, &read, &error)) {
        std::fprintf(stderr, "%s: %s\n", options.list.c_str(), error.c_str());
        return 2;
    }
    std::vector<std::size_t> chosen;
    if (!options.select(read.size(), &chosen, &error)) {
        std::fprintf(stderr, "%s: %s\n", options.list.c_str(), error.c_str());
        return 2;
    }

    // The whole list keeps its numbering; the tasks not taken count as done for this run.
    TaskList tasks;
    for (ConversionTask& task : read)
        tasks.appendTask(std::move(task));
    std::vector<bool> taken(tasks.size(), false);
    for (std::size_t index : chosen)
        taken[index] = true;
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        if (!taken[i])
            tasks.markDone(i);
    }

    const StatusWriter writer(path, tasks.size());
    std::map<std::size_t, TaskStatus> changed;
    bool writeFailed = false;
    ListRunView view;
    view.onStatus = [&](std::size_t row) {
        changed[row] = tasks.at(row).status;
        if (options.update && !writer.write(changed, &error)) {
            std::fprintf(stderr, "%s: statuses not written: %s\n", options.list.c_str(), error.c_str());
            writeFailed = true;
        }
    };
    view.showWholeRun = chosen.size() > 1;
    TaskRunLoop::run(control, tasks, view, options.keepGoing);

    for (std::size_t index : chosen) {
        if (tasks.at(index).status != TaskStatus::Done)
            return 1;
    }
    return writeFailed ? 1 : 0;
}

}  // namespace RunCommand
