// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/TempOutput.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "dudidevar/run/CreationMask.h"
#include "platform/PathNames.h"

namespace {

// The permissions the finished file gets: those of the file it replaces, else what a newly
// created file gets under the process's file-creation mask (the temporary file itself is
// created private).
mode_t outputMode(const std::string& target)
{
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        return existing.st_mode & 07777;
    return 0666 & ~CreationMask::current();
}

// The file a target path finally names: a symbolic link is followed (also one whose file does
// not exist yet), so the output replaces the linked file and the link stays.
std::string throughLinks(std::string path)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::vector<char> buffer(std::size_t(info.st_size > 0 ? info.st_size : 255) + 1);
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size() - 1);
        if (length < 0)
            return path;
        const std::string link(buffer.data(), std::size_t(length));
        path = (!link.empty() && link[0] == '/') ? link : PathNames::folderPart(path) + link;
    }
    return path;
}

bool isFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string tempPrefix(const std::string& name)
{
    return "." + name + ".part-";
}

// The process id in the name of one of our temporary files of the target: the prefix, a
// process id, '-' and mkstemp's six letters or digits; 0 for any other name.
pid_t ownerOf(const std::string& entry, const std::string& prefix)
{
    if (entry.compare(0, prefix.size(), prefix) != 0)
        return 0;
    const std::string rest = entry.substr(prefix.size());
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

TempOutput::~TempOutput()
{
    discard();
}

void TempOutput::removeStale(const std::string& folder, const std::string& name)
{
    const std::string prefix = tempPrefix(name);
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir)
        return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir.get())) {
        const pid_t owner = ownerOf(entry->d_name, prefix);
        if (owner > 0 && owner != ::getpid() && processIsGone(owner))
            stale.push_back(folder + entry->d_name);
    }
    for (const std::string& path : stale)
        removeIfUnlocked(path);
}

bool TempOutput::create(const std::string& path, std::string* error)
{
    discard();
    if (isFolder(path)) {
        *error = "the output path names a folder: " + path;
        return false;
    }
    const std::string target = throughLinks(path);
    const std::string folder = PathNames::folderPart(target);
    const std::string name = PathNames::fileName(target);
    if (name.empty()) {
        *error = "the output path names no file";
        return false;
    }
    removeStale(folder, name);
    const std::string pattern = folder + tempPrefix(name) + std::to_string(::getpid()) + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = "cannot write beside " + target + ": " + std::strerror(errno);
        return false;
    }
    // A folder whose file system takes no locks still gets its output; its file is then told
    // from a live run's by the process id alone.
    ::flock(fd, LOCK_EX | LOCK_NB);
    ::fchmod(fd, outputMode(target));
    target_ = target;
    path_ = buffer.data();
    fd_ = fd;
    return true;
}

bool TempOutput::commit(std::string* error)
{
    if (path_.empty())
        return false;
    if (std::rename(path_.c_str(), target_.c_str()) != 0) {
        *error = "cannot rename the output onto " + target_ + ": " + std::strerror(errno);
        discard();
        return false;
    }
    release();
    return true;
}

void TempOutput::discard()
{
    if (!path_.empty())
        std::remove(path_.c_str());
    release();
}

void TempOutput::release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    path_.clear();
}
