// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "dudidevar/run/RunHost.h"

namespace {

int priorityOfThisThread()
{
    errno = 0;
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
}

// A run's work and the codec threads it starts give way to the user-interface thread.
TEST(RunHostPriorityTest, WorkRunsBelowTheStartingThreadsPriority)
{
    std::atomic<int> workPriority{-100};
    RunHost host;
    host.start([&](RunProgress&) {
        workPriority = priorityOfThisThread();
        return RunOutcome::success();
    });
    host.stop();
    EXPECT_GT(workPriority.load(), priorityOfThisThread());
}

}  // namespace
