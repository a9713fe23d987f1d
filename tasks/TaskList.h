// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "tasks/ConversionTask.h"

// The tasks the user has added, in the order they were added; index i is row i of the view.
class TaskList {
public:
    std::size_t size() const { return tasks_.size(); }
    bool empty() const { return tasks_.empty(); }

    // Appends a new waiting task with a fresh, all-zero settings record; returns its index.
    std::size_t append(std::vector<std::string> sources, std::string outputPath, std::string description);
    // Replaces sources, output path and description of task i and makes it waiting again; its
    // settings record is kept (a released one is made anew). Returns the record to rewrite.
    TaskSettings& updateInPlace(std::size_t index, std::vector<std::string> sources,
                                std::string outputPath, std::string description);
    // Releases the record of task i, then removes the task; later tasks move up one place.
    void removeAt(std::size_t index);
    // Appends a task as it is (a task read from a list file); a missing record is made anew.
    std::size_t appendTask(ConversionTask task);
    // The first task at or after index that a run converts: waiting, or failed in an earlier run.
    std::optional<std::size_t> nextToRun(std::size_t from) const;

    const ConversionTask& at(std::size_t index) const { return tasks_.at(index); }
    ConversionTask& at(std::size_t index) { return tasks_.at(index); }

    void markDone(std::size_t index);
    void markWaiting(std::size_t index);
    void markFailed(std::size_t index);
    // Releases every task's record and leaves the pointers null (the main window closing).
    void releaseAllSettings();

    // The list file's top-level members, written back with the list.
    const QJsonObject& keptMembers() const { return keptMembers_; }
    void setKeptMembers(QJsonObject members) { keptMembers_ = std::move(members); }

private:
    std::vector<ConversionTask> tasks_;
    QJsonObject keptMembers_;
};
