#pragma once

class CDudidEvar;
class CliExecutionView;
class TaskList;

// Runs a task list as the main window runs it, through the same execution, until the run
// comes to rest; Ctrl-C stops it.
namespace TaskRunLoop {

void run(CDudidEvar& control, TaskList& tasks, CliExecutionView& view, bool goOnAfterFailure);

}  // namespace TaskRunLoop
