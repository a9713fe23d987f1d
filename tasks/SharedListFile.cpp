// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/SharedListFile.h"

#include <QFileInfo>
#include <QLockFile>

#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"

namespace {

// A lock whose holder is gone on this machine is taken over at once; one held from another
// machine, after this long without a change.
constexpr int kStaleLockMs = 60000;
constexpr int kLockWaitMs = 30000;

}  // namespace

bool SharedListFile::update(const std::function<bool(TaskList&)>& change, std::string* error,
                            bool missingIsEmpty) const
{
    QLockFile lock(lockPath());
    lock.setStaleLockTime(kStaleLockMs);
    if (!lock.tryLock(kLockWaitMs))
        return *error = lock.error() == QLockFile::LockFailedError ? "the list stayed locked by another program"
                                                                    : "cannot lock the list for writing",
               false;
    TaskList list;
    if (!(missingIsEmpty && !QFileInfo::exists(path_)) && !TaskListFile::load(path_, &list, error))
        return false;
    if (!change(list))
        return true;
    return TaskListFile::save(list, path_, error);
}

std::optional<std::size_t> SharedListFile::find(const TaskList& list, const QByteArray& identity)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (TaskListFile::identity(list.at(i)) == identity)
            return i;
    }
    return std::nullopt;
}
