// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/TaskList.h"

std::size_t TaskList::append(std::vector<std::string> sources, std::string outputPath,
                             std::string description)
{
    ConversionTask task;
    task.sources = std::move(sources);
    task.outputPath = std::move(outputPath);
    task.description = std::move(description);
    task.status = TaskStatus::Waiting;
    task.settings = std::make_unique<TaskSettings>();
    tasks_.push_back(std::move(task));
    return tasks_.size() - 1;
}

TaskSettings& TaskList::updateInPlace(std::size_t index, std::vector<std::string> sources,
                                      std::string outputPath, std::string description)
{
    ConversionTask& task = tasks_.at(index);
    task.sources = std::move(sources);
    task.outputPath = std::move(outputPath);
    task.description = std::move(description);
    task.status = TaskStatus::Waiting;
    if (!task.settings)
        task.settings = std::make_unique<TaskSettings>();
    return *task.settings;
}

void TaskList::removeAt(std::size_t index)
{
    ConversionTask& task = tasks_.at(index);
    task.settings.reset();
    tasks_.erase(tasks_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::size_t TaskList::appendTask(ConversionTask task)
{
    if (!task.settings)
        task.settings = std::make_unique<TaskSettings>();
    tasks_.push_back(std::move(task));
    return tasks_.size() - 1;
}

std::optional<std::size_t> TaskList::nextToRun(std::size_t from) const
{
    for (std::size_t i = from; i < tasks_.size(); ++i) {
        if (tasks_[i].status != TaskStatus::Done)
            return i;
    }
    return std::nullopt;
}

void TaskList::markDone(std::size_t index)
{
    tasks_.at(index).status = TaskStatus::Done;
}

void TaskList::markWaiting(std::size_t index)
{
    tasks_.at(index).status = TaskStatus::Waiting;
}

void TaskList::markFailed(std::size_t index)
{
    tasks_.at(index).status = TaskStatus::Failed;
}

void TaskList::releaseAllSettings()
{
    for (ConversionTask& task : tasks_)
        task.settings.reset();
}
