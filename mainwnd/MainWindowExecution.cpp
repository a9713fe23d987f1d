// SPDX-License-Identifier: GPL-3.0-or-later
// Running the task list and previewing a task through the conversion control, and the
// control's events.
#include "mainwnd/MainWindow.h"

#include "tasks/TaskList.h"

void MainWindow::OnExecute()
{
    execution.execute();
}

// Output plays the task whose row the list shows selected.
void MainWindow::OnOutput()
{
    ShowSelectedRow();
    execution.preview(static_cast<std::size_t>(selection.row()));
}

// The control's events all pass through here. The execution routes them: to the audio
// extraction tool while it uses the control, else to the preview that plays or the run.
void MainWindow::OnConvertDone()
{
    execution.convertDone();
}

void MainWindow::OnConvertProgress(double secondsDone, double totalSeconds)
{
    execution.convertProgress(secondsDone, totalSeconds);
}

void MainWindow::OnConvertFailed(const QString& reason)
{
    execution.convertFailed(reason.toStdString());
}

// Stops a run or a preview, then releases every task's settings.
void MainWindow::RunClosingSteps()
{
    tasksReleased = true;
    execution.close();
}
