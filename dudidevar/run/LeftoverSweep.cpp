// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/LeftoverSweep.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kPartMark = ".part-";

// The process id in the name of a temporary file: '.', the target's name, ".part-", a process
// id, '-' and mkstemp's six letters or digits; 0 for any other name.
pid_t ownerOf(const std::string& entry)
{
    const std::size_t mark = entry.rfind(kPartMark);
    if (entry.empty() || entry[0] != '.' || mark == std::string::npos || mark < 2)
        return 0;
    const std::string rest = entry.substr(mark + std::char_traits<char>::length(kPartMark));
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 9 || rest.size() != dash + 7)
        return 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(rest[i]);
        if (i != dash && !(i < dash ? std::isdigit(c) : std::isalnum(c)))
            return 0;
    }
    return static_cast<pid_t>(std::stol(rest.substr(0, dash)));
}

bool processIsGone(pid_t pid)
{
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

struct FdCloser {
    void operator()(const int* fd) const
    {
        ::close(*fd);
        delete fd;
    }
};
using OwnedFd = std::unique_ptr<int, FdCloser>;

// Removes the file when it is a regular file of this user that no one holds locked, and is
// still the file that was opened.
void removeIfUnlocked(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    const OwnedFd owned(new int(fd));
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_uid != ::geteuid())
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return;
    if (::lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
        ::unlink(path.c_str());
}

}  // namespace

void LeftoverSweep::sweep(const std::string& folder)
{
    if (!swept_.insert(folder).second)
        return;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir)
        return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir.get())) {
        const pid_t owner = ownerOf(entry->d_name);
        if (owner > 0 && owner != ::getpid() && processIsGone(owner))
            stale.push_back(folder + entry->d_name);
    }
    for (const std::string& path : stale)
        removeIfUnlocked(path);
}
