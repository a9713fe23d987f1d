// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>

class CDudidEvar;
class CliExecutionView;
class TaskList;

// Runs a task list as the main window runs it, through the same execution, until the run
// comes to rest; Ctrl-C stops it.
namespace TaskRunLoop {

// `startCheck`, when given, is asked before each task starts (see TaskExecution::setStartCheck).
void run(CDudidEvar& control, TaskList& tasks, CliExecutionView& view, bool goOnAfterFailure,
         std::function<bool(std::size_t)> startCheck = {});

}  // namespace TaskRunLoop
