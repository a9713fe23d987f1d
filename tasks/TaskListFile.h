// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <string>
#include <vector>

#include "tasks/ConversionTask.h"

class TaskList;

// The task list as a file: a JSON document, versioned, that holds every field of every task
// (see docs/task-list-format.md). Reading checks every field and gives either every task or
// none with a reason that names the task and the field.
class TaskListFile {
public:
    static constexpr const char* kFormat = "marvane-task-list";
    static constexpr int kVersion = 1;
    // A list file larger than this is refused unread.
    static constexpr qint64 kMaxBytes = qint64(256) * 1024 * 1024;

    // Members of the list and of its tasks that this program does not use are written back as
    // they were read (the list's kept members, each task's kept object).
    static QByteArray toJson(const TaskList& tasks);
    // `members`, when given, receives the document's top-level object.
    static bool fromJson(const QByteArray& text, std::vector<ConversionTask>* tasks, std::string* error,
                         QJsonObject* members = nullptr);

    // Writes to a temporary file beside the target, flushed, then renamed onto it; a failed
    // write leaves the target as it was.
    static bool save(const TaskList& tasks, const QString& path, std::string* error);
    // Only a regular file (or a link to one) of at most kMaxBytes is read.
    static bool load(const QString& path, std::vector<ConversionTask>* tasks, std::string* error,
                     QJsonObject* members = nullptr);
    // The whole list with its top-level members kept.
    static bool load(const QString& path, TaskList* list, std::string* error);

    // What a task is, whatever its place, status or description: its sources, output, kind,
    // split and settings. Two tasks with one identity convert the same thing to the same file.
    static QByteArray identity(const ConversionTask& task);

    // The file a name typed in the save dialog stands for: the name with ".json" added when its
    // file name has no suffix of its own.
    static QString savedName(const QString& typed);
};
