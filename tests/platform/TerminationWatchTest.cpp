// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QtCore/qtestsupport_core.h>
#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/TerminationWatch.h"

namespace {

extern "C" void ownHandler(int) {}

void (*currentHandler(int signal))(int)
{
    struct sigaction now {};
    sigaction(signal, nullptr, &now);
    return now.sa_handler;
}

TEST(TerminationWatchTest, TerminationSignalsArriveAsOneRequestEachOnTheEventLoop)
{
    std::signal(SIGTERM, ownHandler);
    {
        TerminationWatch watch;
        ASSERT_TRUE(watch.isWatching());
        TerminationWatch second;
        EXPECT_FALSE(second.isWatching());
        int requests = 0;
        QObject::connect(&watch, &TerminationWatch::requested, [&] { ++requests; });
        std::raise(SIGTERM);
        EXPECT_EQ(requests, 0);  // never inside the signal handler
        EXPECT_TRUE(QTest::qWaitFor([&] { return requests == 1; }, 2000));
        std::raise(SIGHUP);
        EXPECT_TRUE(QTest::qWaitFor([&] { return requests == 2; }, 2000));
    }
    EXPECT_EQ(currentHandler(SIGTERM), &ownHandler);
    std::signal(SIGTERM, SIG_DFL);
}

// A child process raises SIGTERM with the watch set: it ends by the signal only while the watch
// is told to end at once.
TEST(TerminationWatchTest, EndsAtOnceWhileToldTo)
{
    for (const bool atOnce : {false, true}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TerminationWatch watch;
            TerminationWatch::setEndAtOnce(atOnce);
            std::raise(SIGTERM);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM, atOnce) << status;
    }
}

}  // namespace
