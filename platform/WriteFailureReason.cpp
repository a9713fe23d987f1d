// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WriteFailureReason.h"

#include <cerrno>
#include <cstring>

namespace WriteFailureReason {

std::string words(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return "the disk is full";
    case EDQUOT:
        return "the disk quota is used up";
    case EFBIG:
        return "the file grows beyond the largest file the disk can hold";
    default:
        break;
    }
#ifdef __GLIBC__
    if (const char* text = ::strerrordesc_np(errorNumber))
        return text;
#endif
    return std::strerror(errorNumber);
}

std::string text(const std::string& name, int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return words(errorNumber) + " while writing " + name;
    case EFBIG:
        return name + " grows beyond the largest file the disk can hold";
    default:
        return "cannot write " + name + ": " + words(errorNumber);
    }
}

std::string nulInPath(const std::string& path)
{
    if (path.find('\0') == std::string::npos)
        return {};
    std::string shown;
    for (const char c : path)
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    return "the path " + shown + " contains a NUL character";
}

}  // namespace WriteFailureReason
