#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <csignal>

#include "platform/TerminationWatch.h"

namespace {

extern "C" void ownHandler(int) {}

bool waitFor(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

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
        EXPECT_TRUE(waitFor([&] { return requests == 1; }));
        std::raise(SIGHUP);
        EXPECT_TRUE(waitFor([&] { return requests == 2; }));
    }
    EXPECT_EQ(currentHandler(SIGTERM), &ownHandler);
    std::signal(SIGTERM, SIG_DFL);
}

}  // namespace
