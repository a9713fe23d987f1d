// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/base/RunNotices.h"

#include <cstdio>

namespace RunNotices {

void say(const std::string& line)
{
    std::fprintf(stderr, "marvane: %s\n", line.c_str());
    std::fflush(stderr);
}

}  // namespace RunNotices
