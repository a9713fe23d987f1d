// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/WriteFailureReason.h"

#include <cerrno>
#include <cstring>

namespace WriteFailureReason {

std::string text(const std::string& name, int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return "the disk is full while writing " + name;
    case EDQUOT:
        return "the disk quota is used up while writing " + name;
    case EFBIG:
        return name + " grows beyond the largest file the disk can hold";
    default:
        return "cannot write " + name + ": " + std::strerror(errorNumber);
    }
}

}  // namespace WriteFailureReason
