#include "platform/OutputPathProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>

namespace OutputPathProbe {

namespace {

bool opensForWriting(const std::string& path)
{
    struct stat before {};
    const bool existed = ::stat(path.c_str(), &before) == 0;
    if (existed && !S_ISREG(before.st_mode))
        return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    if (!existed)
        ::unlink(path.c_str());
    return true;
}

}  // namespace

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return QFileInfo(QString::fromStdString(a)).absoluteFilePath() ==
           QFileInfo(QString::fromStdString(b)).absoluteFilePath();
}

bool isUsable(const std::string& path, const std::vector<std::string>& sources)
{
    if (path.empty() || path.back() == '/')
        return false;
    for (const std::string& source : sources) {
        if (sameFile(path, source))
            return false;
    }
    return opensForWriting(path);
}

}  // namespace OutputPathProbe
