#include "dudidevar/TempOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
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

}  // namespace

TempOutput::~TempOutput()
{
    discard();
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
    std::string pattern = folder + "." + name + ".part-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkstemp(buffer.data());
    if (fd < 0) {
        *error = "cannot write beside " + target + ": " + std::strerror(errno);
        return false;
    }
    ::fchmod(fd, outputMode(target));
    ::close(fd);
    target_ = target;
    path_ = buffer.data();
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
    path_.clear();
    return true;
}

void TempOutput::discard()
{
    if (!path_.empty())
        std::remove(path_.c_str());
    path_.clear();
}
