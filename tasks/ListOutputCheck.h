// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class TaskList;

// The files the tasks of one list write never meet: no two tasks write one file (an output, or
// a split task's part file beside it), and no task writes onto the list file itself. Each check
// is one pass over the list, so lists of many thousand tasks are checked at once.
class ListOutputCheck {
public:
    // "Task 3 would write /o/a.mpg, which task 1 writes." for the first such task; empty when
    // none is.
    static std::string clash(const TaskList& tasks);
    // The reason when a task's output or one of its parts is the list file; empty otherwise.
    static std::string writesList(const TaskList& tasks, const std::string& listPath);
};
