// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ControlThreads.h"

#include <algorithm>

ControlThreads::~ControlThreads()
{
    waitForAll();
}

// Threads that have ended are joined as new ones start, so a long life gathers none.
void ControlThreads::start(std::function<void()> work)
{
    joinEnded();
    auto ended = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([work = std::move(work), ended] {
        work();
        ended->store(true);
    });
    running_.push_back({std::move(thread), std::move(ended)});
}

void ControlThreads::waitForAll()
{
    for (Running& running : running_)
        running.thread.join();
    running_.clear();
}

void ControlThreads::joinEnded()
{
    const auto ended = std::partition(running_.begin(), running_.end(),
                                      [](const Running& running) { return !running.ended->load(); });
    for (auto it = ended; it != running_.end(); ++it)
        it->thread.join();
    running_.erase(ended, running_.end());
}
