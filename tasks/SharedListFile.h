// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

class TaskList;
struct ConversionTask;

// A task list file that several programs write: runs of the list, on this machine or others,
// and the window that keeps it. Every change is made under the list's lock file to the list as
// the file holds it at that moment, so no writer undoes another's change.
class SharedListFile {
public:
    explicit SharedListFile(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }
    QString lockPath() const { return path_ + QStringLiteral(".lock"); }

    // Locks the list, reads it (an empty list when the file does not exist and
    // `missingIsEmpty`), lets `change` edit it, and writes it back when change returns true.
    // False with the reason when the list cannot be locked, read or written.
    bool update(const std::function<bool(TaskList&)>& change, std::string* error, bool missingIsEmpty = false) const;

    // The first task of the list that is the same task (see TaskListFile::identity).
    static std::optional<std::size_t> find(const TaskList& list, const QByteArray& identity);

private:
    QString path_;
};
