// Running the task list and previewing a task through the conversion control, and the
// control's events.
#include "mainwnd/MainWindow.h"

#include "tasks/TaskList.h"

void MainWindow::OnExecute()
{
}

void MainWindow::OnOutput()
{
}

void MainWindow::OnConvertDone()
{
}

void MainWindow::OnConvertProgress(double secondsDone, double totalSeconds)
{
    (void)secondsDone;
    (void)totalSeconds;
}

void MainWindow::OnConvertFailed(const QString& reason)
{
    (void)reason;
}

void MainWindow::RunClosingSteps()
{
    if (running || previewing)
        control.Stop();
    tasks.releaseAllSettings();
}
