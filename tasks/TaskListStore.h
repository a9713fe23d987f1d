// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tasks/KeptListMerge.h"
#include "tasks/TaskList.h"

// Where the task list is kept from one start of the program to the next: a task list file in
// the user's data folder, written after every change and read at start-up. Each write takes the
// list's lock, as runs of the list do, and keeps what such a run wrote there meanwhile
// (see KeptListMerge).
class TaskListStore {
public:
    explicit TaskListStore(QString path);
    // Writes what is still pending.
    ~TaskListStore();
    TaskListStore(const TaskListStore&) = delete;
    TaskListStore& operator=(const TaskListStore&) = delete;

    // The task list file in the user's data folder.
    static QString defaultPath();

    const QString& path() const { return path_; }

    // Appends the kept tasks with their statuses. A file that cannot be read is renamed aside
    // (".unreadable" and the time) and nothing is added. Returns the log line that says what
    // happened when it was not a plain restore; empty otherwise.
    std::string restore(TaskList& tasks);
    // Writes the whole list now; false with the reason.
    bool keep(const TaskList& tasks, std::string* error);

    // Writes the list off the calling thread: a copy is taken now, and changes that come while
    // a write is under way are written together after it. `done` (called on this thread, from
    // its event loop) gets the reason of a failed write, or the tasks whose status a run wrote.
    struct Outcome {
        std::string error;
        std::vector<KeptListMerge::Adopted> adopted;
    };
    void keepLater(const TaskList& tasks);
    void onWritten(std::function<void(const Outcome&)> done) { done_ = std::move(done); }
    // Waits until every write asked for is in the file.
    void flush();

private:
    QString setAside();
    bool write(TaskList& tasks, KeptListMerge::Statuses& last, Outcome* outcome) const;
    void startWrite(TaskList tasks);
    void finishWrite(unsigned serial);

    QString path_;
    KeptListMerge::Statuses last_;
    std::function<void(const Outcome&)> done_;
    QObject context_;  // where a finished write is reported, on the owner's thread
    std::thread worker_;
    unsigned serial_ = 0;
    std::mutex mutex_;
    Outcome outcome_;            // of the write under way; under the mutex
    KeptListMerge::Statuses workerLast_;
    std::optional<TaskList> pending_;
};
