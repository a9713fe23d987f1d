// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/ThreadPriority.h"

#include <cerrno>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {
constexpr int kWorkNiceness = 5;
}

void ThreadPriority::lowerThisThread()
{
#ifdef __linux__
    const auto self = static_cast<id_t>(::gettid());
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, self);
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, self, current + kWorkNiceness);
#endif
}

void ThreadPriority::passOnTo(const std::set<int>& threadIds)
{
#ifdef __linux__
    errno = 0;
    const int own = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
    if (errno != 0)
        return;
    for (int id : threadIds) {
        errno = 0;
        const int theirs = ::getpriority(PRIO_PROCESS, static_cast<id_t>(id));
        if (errno == 0 && theirs < own)
            ::setpriority(PRIO_PROCESS, static_cast<id_t>(id), own);
    }
#else
    (void)threadIds;
#endif
}
