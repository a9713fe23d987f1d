// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/SharedListFile.h"

#include <QFileInfo>
#include <QLockFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "platform/WriteFailureReason.h"

#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"

namespace {

// A lock whose holder is gone on this machine is taken over at once; one held from another
// machine, after this long without a change.
constexpr int kStaleLockMs = 60000;
constexpr int kLockWaitMs = 30000;

// Why the lock beside the list could not be made (Qt does not say): a file like the lock is
// written beside it, and the system's answer is the reason.
std::string lockFailure(const QString& lockPath)
{
    const std::string prefix = "cannot lock the list for writing";
    const std::string pattern = lockPath.toStdString() + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return prefix + ": " + WriteFailureReason::words(errno);
    const char line[64] = {};
    errno = 0;
    const bool written = ::write(fd, line, sizeof line) == ssize_t(sizeof line);
    const int writeError = errno != 0 ? errno : ENOSPC;
    ::close(fd);
    ::unlink(name.data());
    return written ? prefix : prefix + ": " + WriteFailureReason::words(writeError);
}

}  // namespace

bool SharedListFile::update(const std::function<bool(TaskList&)>& change, std::string* error,
                            bool missingIsEmpty) const
{
    QLockFile lock(lockPath());
    lock.setStaleLockTime(kStaleLockMs);
    if (!lock.tryLock(kLockWaitMs))
        return *error = lock.error() == QLockFile::LockFailedError ? "the list stayed locked by another program"
                                                                    : lockFailure(lock.fileName()),
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
