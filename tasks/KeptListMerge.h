// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <cstddef>
#include <map>
#include <vector>

#include "tasks/TaskStatus.h"

class TaskList;

// What the window writes into the list it keeps when runs of that list (marvane-cli run
// --update) may have written there since its last write: the window's tasks in the window's
// order, each with the claim the file holds for it, and with the status the file holds where a
// run changed it there and the window has not changed it since.
class KeptListMerge {
public:
    // The status of each task (by identity) as the window last read or wrote it.
    using Statuses = std::map<QByteArray, TaskStatus>;
    struct Adopted {
        QByteArray identity;
        TaskStatus was;  // the window's status, kept when the window changed it meanwhile
        TaskStatus is;   // the run's
    };

    // Merges the file's claims and run-written statuses into `written`; returns the statuses
    // taken from the file. `last` becomes the statuses of `written`.
    static std::vector<Adopted> merge(TaskList& written, const TaskList& file, Statuses& last);
    static Statuses statusesOf(const TaskList& tasks);
    // Gives the tasks that still have the status `was` the run's; returns their indices.
    static std::vector<std::size_t> apply(TaskList& tasks, const std::vector<Adopted>& adopted);
};
