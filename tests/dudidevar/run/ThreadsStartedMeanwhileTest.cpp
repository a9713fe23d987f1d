// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <thread>

#include "TestMedia.h"
#include "dudidevar/base/CodecThreads.h"
#include "dudidevar/run/ConversionJob.h"
#include "dudidevar/run/ThreadsStartedMeanwhile.h"

namespace {

int priorityOf(int thread)
{
    errno = 0;
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
}

void lowerThisThread(int steps)
{
    const int self = ::gettid();
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(self), priorityOf(self) + steps);
}

// The codec threads that preparing a run starts on the window's thread work at the run's lower
// priority once the run goes, like the threads the run starts itself (its picture stages).
TEST(ThreadsStartedMeanwhileTest, CodecThreadsOfThePreparationRunAtTheRunsPriority)
{
    if (CodecThreads::cores() < 2)
        GTEST_SKIP() << "one core: the codecs start no threads";
    const std::string folder = TestMedia::scratchFolder();
    const std::string source = TestMedia::longer();
    const std::set<int> before = ThreadsStartedMeanwhile::all();
    ConversionJob job;
    std::string error;
    ASSERT_TRUE(job.prepare({{{source, 0, 6, false}}, {}, false, folder + "out.mpg",
                             [](const SourceShape& shape, OutputPlan* plan, std::string* why) {
                                 ControlProperties properties;
                                 properties.outputFormat = 5;  // NTSC DVD: MPEG-2 in slices at 480 lines
                                 return OutputPlanner::planConversion(properties, shape, false, true, true, plan, why);
                             }},
                            &error))
        << error;
    std::set<int> started;
    for (int id : ThreadsStartedMeanwhile::all())
        if (!before.count(id))
            started.insert(id);
    ASSERT_FALSE(started.empty());
    const int preparing = priorityOf(::gettid());
    for (int id : started)
        EXPECT_EQ(priorityOf(id), preparing);

    // A short run ends between two progress reports, so the threads are looked at from a
    // thread of the test's own for as long as the run goes.
    std::map<int, int> during;
    std::atomic<int> runs{0};
    std::atomic<bool> going{false};
    std::atomic<bool> ended{false};
    std::thread watcher([&] {
        const int self = ::gettid();
        while (!ended) {
            if (going) {
                for (int id : ThreadsStartedMeanwhile::all()) {
                    if (before.count(id) || id == self)
                        continue;
                    const int priority = priorityOf(id);
                    if (errno == 0 && (!during.count(id) || priority != runs))
                        during[id] = priority;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    std::thread worker([&] {
        lowerThisThread(5);
        runs = priorityOf(::gettid());
        std::atomic<bool> stop{false};
        RunProgress progress(stop, [&](double, double) { going = true; });
        job.run(progress);
    });
    worker.join();
    ended = true;
    watcher.join();
    ASSERT_GT(runs, preparing);
    ASSERT_GT(during.size(), started.size() + 2);  // the worker and the stages besides
    for (const auto& [id, priority] : during)
        EXPECT_EQ(priority, runs) << "thread " << id;
}

}  // namespace
