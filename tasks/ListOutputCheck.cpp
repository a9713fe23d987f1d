// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/ListOutputCheck.h"

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <map>

#include "tasks/OutputNaming.h"
#include "tasks/TaskList.h"

namespace {

std::string absolute(const std::string& path)
{
    return QDir::cleanPath(QFileInfo(QString::fromStdString(path)).absoluteFilePath()).toStdString();
}

// One name for one file: the device and inode of a file that exists (whatever link or
// spelling leads to it), else its clean absolute path.
std::string fileKey(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return "inode " + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    return absolute(path);
}

std::string number(std::size_t index)
{
    return std::to_string(index + 1);
}

}  // namespace

std::string ListOutputCheck::clash(const TaskList& tasks)
{
    std::map<std::string, std::size_t> writers;      // file key -> task
    std::map<std::string, std::size_t> splitOutputs;  // absolute output of a split task -> task
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        if (tasks.at(i).isSplit())
            splitOutputs.emplace(absolute(tasks.at(i).outputPath), i);
    }
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const std::string& output = tasks.at(i).outputPath;
        const auto [writer, added] = writers.emplace(fileKey(output), i);
        if (!added)
            return "Task " + number(i) + " would write " + output + ", which task " + number(writer->second) + " writes.";
        const auto owner = splitOutputs.find(OutputNaming::splitOutputOf(absolute(output)));
        if (owner != splitOutputs.end() && owner->second != i) {
            const std::size_t first = std::min(i, owner->second), second = std::max(i, owner->second);
            return "Task " + number(second) + " would write a file that task " + number(first) + " writes (" + output +
                   ").";
        }
    }
    return {};
}

std::string ListOutputCheck::writesList(const TaskList& tasks, const std::string& listPath)
{
    const std::string listKey = fileKey(listPath);
    const std::string splitOwner = OutputNaming::splitOutputOf(absolute(listPath));
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const ConversionTask& task = tasks.at(i);
        if (fileKey(task.outputPath) == listKey)
            return "Task " + number(i) + " would write its output onto the task list itself (" + task.outputPath + ").";
        if (task.isSplit() && !splitOwner.empty() && absolute(task.outputPath) == splitOwner)
            return "Task " + number(i) + " would write a split part onto the task list itself (" + listPath + ").";
    }
    return {};
}
