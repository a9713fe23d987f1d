// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/source/FileIdentity.h"

#include <sys/stat.h>

namespace {

std::int64_t nanoseconds(const timespec& time)
{
    return std::int64_t(time.tv_sec) * 1000000000 + time.tv_nsec;
}

}  // namespace

bool FileIdentity::of(const std::string& path, FileIdentity* identity)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    *identity = {std::uint64_t(info.st_dev), std::uint64_t(info.st_ino), std::int64_t(info.st_size),
                 nanoseconds(info.st_mtim), nanoseconds(info.st_ctim)};
    return true;
}
