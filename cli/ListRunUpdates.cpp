// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ListRunUpdates.h"

#include <QDateTime>
#include <cstdio>

#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"

ListRunUpdates::ListRunUpdates(const QString& path, const TaskList& tasks)
    : file_(path), listName_(path.toStdString()), me_(TaskClaim::ofThisProcess())
{
    identities_.reserve(tasks.size());
    for (std::size_t i = 0; i < tasks.size(); ++i)
        identities_.push_back(TaskListFile::identity(tasks.at(i)));
}

void ListRunUpdates::report(std::size_t index, const std::string& what) const
{
    std::fprintf(stderr, "%s: task %zu is no longer in the list; %s\n", listName_.c_str(), index + 1, what.c_str());
}

void ListRunUpdates::writeFailed(const std::string& error)
{
    std::fprintf(stderr, "%s: statuses not written: %s\n", listName_.c_str(), error.c_str());
    failed_ = true;
}

// Changes the task of the file that is task `index` of this run, and writes the list when the
// change says so; nothing when the task is no longer there (`whenGone` is said instead). False
// when the list cannot be read or written.
bool ListRunUpdates::changeTask(std::size_t index, const std::string& whenGone,
                                const std::function<bool(ConversionTask&)>& change)
{
    std::string error;
    const bool written = file_.update(
        [&](TaskList& list) {
            const auto found = SharedListFile::find(list, identities_.at(index));
            if (!found) {
                report(index, whenGone);
                return false;
            }
            return change(list.at(*found));
        },
        &error);
    if (!written)
        writeFailed(error);
    return written;
}

bool ListRunUpdates::claim(std::size_t index)
{
    bool mine = false;
    const bool written = changeTask(index, "it is not run", [&](ConversionTask& task) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        if (task.status == TaskStatus::Done || me_.heldByOther(task, now)) {
            std::printf("Task %zu is done or under way in another run; passed over\n", index + 1);
            std::fflush(stdout);
            return false;
        }
        me_.take(task, now);
        return mine = true;
    });
    return written && mine;
}

void ListRunUpdates::writeStatus(std::size_t index, TaskStatus status)
{
    changeTask(index, "its status is not written", [&](ConversionTask& task) {
        task.status = status;
        if (status != TaskStatus::Waiting && me_.heldByMe(task))
            TaskClaim::release(task);
        return true;
    });
}

void ListRunUpdates::releaseHeld()
{
    std::string error;
    const bool written = file_.update(
        [&](TaskList& list) {
            bool changed = false;
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (me_.heldByMe(list.at(i))) {
                    TaskClaim::release(list.at(i));
                    changed = true;
                }
            }
            return changed;
        },
        &error);
    if (!written)
        writeFailed(error);
}
