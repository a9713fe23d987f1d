// SPDX-License-Identifier: GPL-3.0-or-later
// The task list handled several rows at once: the selected rows, the finished tasks, all tasks.
#include "mainwnd/MainWindow.h"

#include <QTreeWidgetItem>
#include <algorithm>

#include "platform/ProductTitle.h"
#include "platform/Prompts.h"
#include "tasks/TaskList.h"
#include "tasks/TaskRowText.h"

std::vector<int> MainWindow::SelectedRows() const
{
    std::vector<int> rows;
    for (QTreeWidgetItem* row : taskList.selectedItems())
        rows.push_back(taskList.indexOfTopLevelItem(row));
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<int> MainWindow::AllRows() const
{
    std::vector<int> rows(RowCount());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<int>(i);
    return rows;
}

// The rows, in ascending order, go with their tasks; the row before the first of them is
// selected next.
void MainWindow::RemoveRows(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    {
        const QSignalBlocker quiet(taskList);
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            tasks.removeAt(static_cast<std::size_t>(*row));
            delete taskList.takeTopLevelItem(*row);
        }
        taskList.clearSelection();
    }
    selection.rowsDeletedFrom(rows.front());
    ShowSelectedRow();
    UpdateRowCommands();
    KeepTaskList();
}

bool MainWindow::UserAgreesToRemove(const QString& question)
{
    return Prompts::get().messageBox(this, ProductTitle, question, PromptIcon::Question, PromptButtons::YesNo) ==
           PromptAnswer::Yes;
}

void MainWindow::OnRemoveFinished()
{
    if (execution.state() != TaskExecution::State::Idle)
        return;
    std::vector<int> finished;
    for (std::size_t i = 0; i < tasks.size(); ++i)
        if (tasks.at(i).status == TaskStatus::Done)
            finished.push_back(static_cast<int>(i));
    if (finished.empty()) {
        logList.Append(QStringLiteral("No finished tasks to remove"));
        return;
    }
    const QString question = finished.size() == 1
                                 ? QStringLiteral("Remove the finished task from the list?")
                                 : QStringLiteral("Remove the %1 finished tasks from the list?").arg(finished.size());
    if (UserAgreesToRemove(question))
        RemoveRows(finished);
}

void MainWindow::OnRemoveAll()
{
    if (execution.state() != TaskExecution::State::Idle || RowCount() == 0)
        return;
    const QString count = QString::fromStdString(TaskRowText::taskCount(RowCount()));
    if (UserAgreesToRemove(QStringLiteral("Remove every task from the list (%1)?").arg(count)))
        RemoveRows(AllRows());
}
