// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/KeptListMerge.h"

#include <QJsonObject>

#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"

namespace {

const QString kClaim = QStringLiteral("claim");

}  // namespace

KeptListMerge::Statuses KeptListMerge::statusesOf(const TaskList& tasks)
{
    Statuses statuses;
    for (std::size_t i = 0; i < tasks.size(); ++i)
        statuses.emplace(TaskListFile::identity(tasks.at(i)), tasks.at(i).status);
    return statuses;
}

std::vector<KeptListMerge::Adopted> KeptListMerge::merge(TaskList& written, const TaskList& file, Statuses& last)
{
    std::map<QByteArray, std::size_t> inFile;
    for (std::size_t i = 0; i < file.size(); ++i)
        inFile.emplace(TaskListFile::identity(file.at(i)), i);
    std::vector<Adopted> adopted;
    for (std::size_t i = 0; i < written.size(); ++i) {
        ConversionTask& task = written.at(i);
        const QByteArray identity = TaskListFile::identity(task);
        const auto there = inFile.find(identity);
        if (there == inFile.end())
            continue;
        const ConversionTask& filed = file.at(there->second);
        if (filed.kept.contains(kClaim))
            task.kept[kClaim] = filed.kept.value(kClaim);
        else
            task.kept.remove(kClaim);
        const auto known = last.find(identity);
        if (known != last.end() && filed.status != known->second && task.status == known->second) {
            adopted.push_back({identity, task.status, filed.status});
            task.status = filed.status;
        }
    }
    last = statusesOf(written);
    return adopted;
}

std::vector<std::size_t> KeptListMerge::apply(TaskList& tasks, const std::vector<Adopted>& adopted)
{
    if (adopted.empty())
        return {};
    std::map<QByteArray, const Adopted*> byIdentity;
    for (const Adopted& status : adopted)
        byIdentity.emplace(status.identity, &status);
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const auto found = byIdentity.find(TaskListFile::identity(tasks.at(i)));
        if (found == byIdentity.end() || tasks.at(i).status != found->second->was)
            continue;
        tasks.at(i).status = found->second->is;
        changed.push_back(i);
    }
    return changed;
}
