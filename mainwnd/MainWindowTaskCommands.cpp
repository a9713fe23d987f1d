// SPDX-License-Identifier: GPL-3.0-or-later
// The task list's commands: Add, Del, Edit, and the rows of the list, which always show their
// tasks with the selected task's row selected.
#include "mainwnd/MainWindow.h"

#include <QTreeWidgetItem>

#include "editor/TaskEditorDialog.h"
#include "platform/FileFilter.h"
#include "platform/Prompts.h"
#include "tasks/TaskList.h"
#include "tasks/TaskRowText.h"

namespace {

void fillRow(QTreeWidgetItem& row, const ConversionTask& task)
{
    row.setText(TaskListView::SourceColumn, QString::fromStdString(TaskRowText::source(task)));
    row.setText(TaskListView::StatusColumn, QString::fromStdString(TaskRowText::status(task)));
    row.setText(TaskListView::DescriptionColumn, QString::fromStdString(TaskRowText::description(task)));
    row.setText(TaskListView::OutputColumn, QString::fromStdString(task.outputPath));
    const QString tip = QString::fromStdString(TaskRowText::tooltip(task));
    for (int column = 0; column < row.columnCount(); ++column)
        row.setToolTip(column, tip);
}

}  // namespace

std::size_t MainWindow::RowCount() const
{
    return static_cast<std::size_t>(taskList.topLevelItemCount());
}

void MainWindow::OnAdd()
{
    const std::optional<QString> path = Prompts::get().openFile(this, QString::fromLatin1(FileFilter::kSourceVideoFilter));
    if (!path || path->isEmpty())
        return;
    AddTaskFrom({*path});
}

// The editor on a new task joining the sources in their order; OK adds its row.
void MainWindow::AddTaskFrom(const QStringList& sources)
{
    TaskEditorDialog editor(control, tasks, this);
    for (const QString& source : sources)
        editor.AddSource(source.toStdString());
    if (editor.exec() != QDialog::Accepted || tasks.size() <= RowCount())
        return;
    AddRowForLastTask();
    output.setEnabled(true);
    execute.setEnabled(true);
    UpdateRowCommands();
    KeepTaskList();
}

// One selected row goes at once; several go together after one question.
void MainWindow::OnDel()
{
    if (RowCount() == 0)
        return;
    const std::vector<int> picked = SelectedRows();
    if (picked.size() > 1) {
        if (UserAgreesToRemove(QStringLiteral("Delete the %1 selected tasks?").arg(picked.size())))
            RemoveRows(picked);
        return;
    }
    const int row = selection.row();
    {
        const QSignalBlocker quiet(taskList);
        tasks.removeAt(static_cast<std::size_t>(row));
        delete taskList.takeTopLevelItem(row);
    }
    selection.selectedRowDeleted();
    ShowSelectedRow();
    UpdateRowCommands();
    KeepTaskList();
}

void MainWindow::OnEdit()
{
    if (RowCount() == 0)
        return;
    const auto index = static_cast<std::size_t>(selection.row());
    TaskEditorDialog editor(control, tasks, this);
    if (!editor.LoadTask(index) || editor.exec() != QDialog::Accepted)
        return;
    tasks.markWaiting(index);
    RewriteRow(index);
    KeepTaskList();
}

void MainWindow::OnTaskListClicked(int row)
{
    // A Ctrl+click that took the row out of several selected ones leaves the others selected.
    const QTreeWidgetItem* hit = taskList.topLevelItem(row);
    if (hit && !hit->isSelected() && !taskList.selectedItems().isEmpty()) {
        OnTaskListSelectionChanged();
        return;
    }
    selection.take(row, RowCount());
    ShowSelectedRow();
}

// The keyboard moved the selection, or a click on no row cleared it. Of several selected rows,
// the current one is the selected task.
void MainWindow::OnTaskListSelectionChanged()
{
    const QList<QTreeWidgetItem*> picked = taskList.selectedItems();
    QTreeWidgetItem* current = taskList.currentItem();
    if (current && current->isSelected())
        selection.take(taskList.indexOfTopLevelItem(current), RowCount());
    else if (!picked.isEmpty())
        selection.take(taskList.indexOfTopLevelItem(picked.front()), RowCount());
    ShowSelectedRow();
}

void MainWindow::AddRowForLastTask()
{
    AddRowsFrom(tasks.size() - 1);
}

// Rows for the tasks from the index on, added in one pass; the last one is shown selected.
void MainWindow::AddRowsFrom(std::size_t first)
{
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(tasks.size() - first));
    for (std::size_t i = first; i < tasks.size(); ++i) {
        auto* row = new QTreeWidgetItem;
        fillRow(*row, tasks.at(i));
        rows.append(row);
    }
    {
        const QSignalBlocker quiet(taskList);
        taskList.addTopLevelItems(rows);
    }
    selection.rowAdded(RowCount());
    ShowSelectedRow();
}

void MainWindow::RewriteRow(std::size_t index)
{
    if (QTreeWidgetItem* row = taskList.topLevelItem(static_cast<int>(index)))
        fillRow(*row, tasks.at(index));
}

void MainWindow::ShowSelectedRow()
{
    const int row = selection.rowToShow(RowCount());
    const QSignalBlocker quiet(taskList);
    QTreeWidgetItem* shown = row >= 0 ? taskList.topLevelItem(row) : nullptr;
    if (!shown) {
        taskList.clearSelection();
        return;
    }
    // Rows the user picked with Shift or Ctrl stay selected beside it.
    if (shown->isSelected() && taskList.selectedItems().size() > 1)
        return;
    taskList.setCurrentItem(shown);
    shown->setSelected(true);
    taskList.scrollToItem(shown);
}
