#pragma once

#include <QByteArray>
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

    static QByteArray toJson(const TaskList& tasks);
    static bool fromJson(const QByteArray& text, std::vector<ConversionTask>* tasks, std::string* error);

    // Writes to a temporary file beside the target, flushed, then renamed onto it; a failed
    // write leaves the target as it was.
    static bool save(const TaskList& tasks, const QString& path, std::string* error);
    static bool load(const QString& path, std::vector<ConversionTask>* tasks, std::string* error);

    // The file a name typed in the save dialog stands for: the name with ".json" added when its
    // file name has no suffix of its own.
    static QString savedName(const QString& typed);
};
