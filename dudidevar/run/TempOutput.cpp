// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/TempOutput.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "dudidevar/run/CreationMask.h"
#include "platform/OutputPathProbe.h"
#include "platform/PathNames.h"
#include "platform/WriteFailureReason.h"

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

}  // namespace

TempOutput::~TempOutput()
{
    discard();
}

bool TempOutput::create(const std::string& path, std::string* error, LeftoverSweep* sweep)
{
    discard();
    if (std::string why = WriteFailureReason::nulInPath(path); !why.empty()) {
        *error = why;
        return false;
    }
    if (isFolder(path)) {
        *error = "the output path names a folder: " + path;
        return false;
    }
    // A device or a FIFO (or a link to one) would be replaced by a regular file on commit.
    if (std::string why = OutputPathProbe::notRegularFile(path); !why.empty()) {
        *error = why;
        return false;
    }
    const std::string target = throughLinks(path);
    const std::string folder = PathNames::folderPart(target);
    const std::string name = PathNames::fileName(target);
    if (name.empty()) {
        *error = "the output path names no file";
        return false;
    }
    LeftoverSweep ownSweep;
    (sweep ? *sweep : ownSweep).sweep(folder);
    const std::string pattern = folder + tempPrefix(name) + std::to_string(::getpid()) + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = "cannot write beside " + target + ": " + WriteFailureReason::words(errno);
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
        *error = "cannot rename the output onto " + target_ + ": " + WriteFailureReason::words(errno);
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
