// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/ThreadPriority.h"

#include <cerrno>

#include <QCoreApplication>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {
constexpr int kWorkNiceness = 5;

// Whether the process shows windows, whose thread a run must not hold up. A process without
// them (the command-line companion) runs its work at its own priority: lowered, it would only
// lose the processor to whatever else runs on the machine.
bool windowsShown()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && app->inherits("QGuiApplication");
}

}  // namespace

void ThreadPriority::lowerThisThread()
{
#ifdef __linux__
    if (!windowsShown())
        return;
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
