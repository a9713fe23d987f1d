// The task list's commands: Add, Del, Edit and clicks on the list.
#include "mainwnd/MainWindow.h"

void MainWindow::OnAdd()
{
}

void MainWindow::OnDel()
{
}

void MainWindow::OnEdit()
{
}

void MainWindow::OnTaskListClicked(int row)
{
    (void)row;
}
