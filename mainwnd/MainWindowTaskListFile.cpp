// SPDX-License-Identifier: GPL-3.0-or-later
// The task list kept from one start to the next, saved and opened by hand as a file, and the
// choice of going on after a failed task.
#include "mainwnd/MainWindow.h"

#include <QAction>
#include <QFileInfo>
#include <map>

#include "platform/ProductTitle.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "platform/TerminationWatch.h"
#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"
#include "tasks/TaskListStore.h"
#include "tasks/TaskRowText.h"

namespace {

const char* const kTaskListFilter = "Task lists (*.json)|*.json|All files (*.*)|*.*||";
const char* const kSettingsKey = "Software\\Marvane\\Settings";
const char* const kGoOnName = "GoOnAfterFailure";

bool goOnAfterFailureChosen()
{
    const auto stored = Registry::instance().value(Registry::Root::CurrentUser, kSettingsKey, kGoOnName);
    return stored && *stored == "1";
}

// Outputs never overwrite each other within one list: the reason when an opened task writes a
// file that another task writes too, empty otherwise.
std::string outputWrittenTwice(const TaskList& tasks, const std::vector<ConversionTask>& opened)
{
    std::map<std::string, std::size_t> writers;
    for (std::size_t i = 0; i < tasks.size(); ++i)
        writers.emplace(tasks.at(i).outputPath, i + 1);
    for (std::size_t i = 0; i < opened.size(); ++i) {
        const std::size_t number = tasks.size() + i + 1;
        const auto [writer, added] = writers.emplace(opened[i].outputPath, number);
        if (!added)
            return "Task " + std::to_string(number) + " would write " + opened[i].outputPath + ", which task " +
                   std::to_string(writer->second) + " writes.";
    }
    return {};
}

}  // namespace

// The kept tasks get their rows; returns what the log is to say about the kept list.
std::string MainWindow::RestoreKeptTasks()
{
    if (!taskStore)
        return {};
    TerminationWatch::setEndAtOnce(true);
    const std::string note = taskStore->restore(tasks);
    AddRowsForNewTasks();
    TerminationWatch::setEndAtOnce(false);
    return note;
}

void MainWindow::KeepTasksIn(TaskListStore* store)
{
    taskStore = store;
    if (!taskStore)
        return;
    taskStore->onWritten([this](const TaskListStore::Outcome& outcome) {
        if (!outcome.error.empty())
            logList.Append(QStringLiteral("The task list could not be kept: ") + QString::fromStdString(outcome.error));
        TakeStatusesFromRuns(outcome.adopted);
    });
}

// Written off the window's thread: a long list never holds the window up.
void MainWindow::KeepTaskList()
{
    if (!taskStore || tasksReleased)
        return;
    taskStore->keepLater(tasks);
}

// A run of the kept list (marvane-cli run --update) wrote these statuses into it; a task the
// user changed since keeps the window's.
void MainWindow::TakeStatusesFromRuns(const std::vector<KeptListMerge::Adopted>& adopted)
{
    for (std::size_t row : KeptListMerge::apply(tasks, adopted))
        RewriteRow(row);
}

// Rows for the tasks that have none yet, at the end of the list.
void MainWindow::AddRowsForNewTasks()
{
    if (RowCount() >= tasks.size())
        return;
    AddRowsFrom(RowCount());
    output.setEnabled(true);
    execute.setEnabled(true);
    UpdateRowCommands();
}

// A name typed without a suffix gets ".json"; the dialog asked about replacing the typed name,
// so a file of the name with the suffix is replaced only when the user says so.
void MainWindow::OnSaveTaskList()
{
    const std::optional<QString> typed = Prompts::get().saveFile(this, QString::fromLatin1(kTaskListFilter));
    if (!typed || typed->isEmpty())
        return;
    const QString path = TaskListFile::savedName(*typed);
    if (path != *typed && QFileInfo::exists(path) &&
        Prompts::get().messageBox(this, ProductTitle, path + QStringLiteral(" already exists.\nDo you want to replace it?"),
                                  PromptIcon::Exclamation, PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    std::string error;
    if (!TaskListFile::save(tasks, path, &error)) {
        Prompts::get().messageBox(this, ProductTitle,
                                  QStringLiteral("The task list could not be saved.\n") + QString::fromStdString(error),
                                  PromptIcon::Exclamation, PromptButtons::Ok);
        return;
    }
    logList.Append(QStringLiteral("Task list saved to %1").arg(path));
}

// The file's tasks, with the statuses they have in the file, come after the current ones or take
// their place, as the user chooses.
void MainWindow::OnOpenTaskList()
{
    const std::optional<QString> path = Prompts::get().openFile(this, QString::fromLatin1(kTaskListFilter));
    if (!path || path->isEmpty())
        return;
    std::vector<ConversionTask> opened;
    std::string error;
    if (!TaskListFile::load(*path, &opened, &error)) {
        RefuseTaskList(error);
        return;
    }
    const std::optional<bool> replace = AskToReplaceTasks(*path);
    if (!replace)
        return;
    if (!*replace && !(error = outputWrittenTwice(tasks, opened)).empty()) {
        RefuseTaskList(error);
        return;
    }
    if (*replace)
        RemoveRows(AllRows());
    for (ConversionTask& task : opened)
        tasks.appendTask(std::move(task));
    AddRowsForNewTasks();
    KeepTaskList();
    logList.Append(QStringLiteral("Task list opened from %1: %2")
                       .arg(*path, QString::fromStdString(TaskRowText::taskCount(opened.size()))));
}

void MainWindow::RefuseTaskList(const std::string& reason)
{
    Prompts::get().messageBox(this, ProductTitle,
                              QStringLiteral("The task list could not be opened.\n") + QString::fromStdString(reason),
                              PromptIcon::Exclamation, PromptButtons::Ok);
}

// False to add the file's tasks after the current ones, true to replace them, none to open
// nothing. An empty list is simply filled.
std::optional<bool> MainWindow::AskToReplaceTasks(const QString& path)
{
    if (RowCount() == 0)
        return false;
    const QString current = QString::fromStdString(TaskRowText::taskCount(RowCount()));
    if (Prompts::get().messageBox(this, ProductTitle,
                                  QStringLiteral("Add the tasks of %1 after the %2 in the list?\n"
                                                 "No offers to replace the list instead.")
                                      .arg(path, current),
                                  PromptIcon::Question, PromptButtons::YesNo) == PromptAnswer::Yes)
        return false;
    if (Prompts::get().messageBox(this, ProductTitle,
                                  QStringLiteral("Replace the %1 in the list with the tasks of %2?").arg(current, path),
                                  PromptIcon::Question, PromptButtons::YesNo) == PromptAnswer::Yes)
        return true;
    return std::nullopt;
}

void MainWindow::SetUpGoOnAfterFailure()
{
    const bool on = goOnAfterFailureChosen();
    execution.setGoOnAfterFailure(on);
    if (QAction* entry = tools.MenuAction(GoOnAfterFailureCommand)) {
        entry->setCheckable(true);
        entry->setChecked(on);
    }
}

void MainWindow::OnGoOnAfterFailure()
{
    const bool on = !execution.goesOnAfterFailure();
    execution.setGoOnAfterFailure(on);
    if (QAction* entry = tools.MenuAction(GoOnAfterFailureCommand))
        entry->setChecked(on);
    Registry::instance().setValue(Registry::Root::CurrentUser, kSettingsKey, kGoOnName, on ? "1" : "0");
}
