// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tasks/SharedListFile.h"
#include "tasks/TaskClaim.h"
#include "tasks/TaskStatus.h"

class TaskList;
struct ConversionTask;

// What a run with --update writes into its list while other runs and the window may write it
// too: a claim on each task before it starts, the task's status when it ends, and at the end
// the release of every claim the run still holds. A task is found in the file by what it is,
// never by its place; one no longer there gets nothing written, and standard error says so.
class ListRunUpdates {
public:
    ListRunUpdates(const QString& path, const TaskList& tasks);

    // Claims task `index` (of the list as this run read it); false when it is not to be run
    // here: done or held by another run, gone from the list, or the list cannot be written.
    bool claim(std::size_t index);
    void writeStatus(std::size_t index, TaskStatus status);
    void releaseHeld();
    // A write failed: the run ends with status 1.
    bool failed() const { return failed_; }

private:
    bool changeTask(std::size_t index, const std::string& whenGone,
                    const std::function<bool(ConversionTask&)>& change);
    void report(std::size_t index, const std::string& what) const;
    void writeFailed(const std::string& error);

    SharedListFile file_;
    std::string listName_;
    std::vector<QByteArray> identities_;
    TaskClaim me_;
    bool failed_ = false;
};
