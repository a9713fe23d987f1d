// SPDX-License-Identifier: GPL-3.0-or-later
// Memory that runs out on a thread of a run's stages fails that run with its reason; the
// program goes on. This test program's own operator new refuses, when asked to, every
// allocation made on a thread of one name.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <pthread.h>

#include "ControlTest.h"
#include "dudidevar/base/CodecThreads.h"

namespace {
std::atomic<const char*> refusingThread{nullptr};

bool refusedHere()
{
    const char* name = refusingThread.load();
    if (!name)
        return false;
    char mine[16] = {};
    return pthread_getname_np(pthread_self(), mine, sizeof mine) == 0 && std::strcmp(mine, name) == 0;
}
}  // namespace

void* operator new(std::size_t size)
{
    void* memory = refusedHere() ? nullptr : std::malloc(size ? size : 1);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

class StageMemoryTest : public ControlTest {};

TEST_F(StageMemoryTest, MemoryRunningOutOnAStageThreadFailsTheRun)
{
    if (CodecThreads::cores() < 2)
        GTEST_SKIP() << "the stages run on threads of their own only with two cores or more";
    addWhole(TestMedia::withSound());
    control.SetOutputFormat(7);  // AVI
    for (const char* thread : {"picture decode", "sound encode"}) {
        SCOPED_TRACE(thread);
        refusingThread = thread;
        const bool failed = fails("out.avi");
        refusingThread = nullptr;
        EXPECT_TRUE(failed);
        EXPECT_EQ(events.reason, "out of memory");
        EXPECT_TRUE(TestMedia::filesIn(folder).empty());
    }
    convert("after.avi");
}

}  // namespace
