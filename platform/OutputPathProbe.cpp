// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OutputPathProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <cerrno>
#include <cstdlib>

#include "platform/PathNames.h"
#include "platform/WriteFailureReason.h"

namespace OutputPathProbe {

namespace {

std::string folderOf(const std::string& path)
{
    const std::string folder = PathNames::folderPart(path);
    return folder.empty() ? std::string("./") : folder;
}

std::string folderRefusal(const std::string& folder)
{
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return errno == EACCES ? WriteFailureReason::words(EACCES) : "No such folder";
    if (!S_ISDIR(st.st_mode))
        return "No such folder";
    std::string probe = folder + ".marvane-probe-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return WriteFailureReason::words(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

std::string fileRefusal(const std::string& path)
{
    struct stat before {};
    const bool existed = ::stat(path.c_str(), &before) == 0;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0)
        return WriteFailureReason::words(errno);
    ::close(fd);
    if (!existed)
        ::unlink(path.c_str());
    return {};
}

bool namesFolder(const std::string& path)
{
    struct stat st {};
    return path.back() == PathNames::kSeparator || (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

}  // namespace

std::string notRegularFile(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return path + " is not a regular file";
    return {};
}

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return QFileInfo(QString::fromStdString(a)).absoluteFilePath() ==
           QFileInfo(QString::fromStdString(b)).absoluteFilePath();
}

std::string refusal(const std::string& path, const std::vector<std::string>& sources)
{
    if (path.empty())
        return "No file name";
    if (std::string why = WriteFailureReason::nulInPath(path); !why.empty())
        return why;
    if (namesFolder(path))
        return path + " is a folder";
    if (std::string why = notRegularFile(path); !why.empty())
        return why;
    for (const std::string& source : sources) {
        if (sameFile(path, source))
            return path + " is one of the task's sources";
    }
    if (std::string why = folderRefusal(folderOf(path)); !why.empty())
        return why;
    return fileRefusal(path);
}

bool isUsable(const std::string& path, const std::vector<std::string>& sources)
{
    return refusal(path, sources).empty();
}

}  // namespace OutputPathProbe
