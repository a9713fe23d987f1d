#pragma once

#include <QString>
#include <string>

class TaskList;

// Where the task list is kept from one start of the program to the next: a task list file in
// the user's data folder, written after every change and read at start-up.
class TaskListStore {
public:
    explicit TaskListStore(QString path);
    // The task list file in the user's data folder.
    static QString defaultPath();

    const QString& path() const { return path_; }

    // Appends the kept tasks with their statuses. A file that cannot be read is renamed aside
    // (".unreadable" and the time) and nothing is added. Returns the log line that says what
    // happened when it was not a plain restore; empty otherwise.
    std::string restore(TaskList& tasks);
    // Writes the whole list; false with the reason.
    bool keep(const TaskList& tasks, std::string* error);

private:
    QString setAside();

    QString path_;
};
