// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// Threads that call the control off the user-interface thread for callers that must not wait
// for them: a dialog closes at once although a source on a slow disk is still being read. Their
// owner ends them all before the control goes away. Started and ended from one thread.
class ControlThreads {
public:
    ControlThreads() = default;
    // Waits for every thread still running.
    ~ControlThreads();
    ControlThreads(const ControlThreads&) = delete;
    ControlThreads& operator=(const ControlThreads&) = delete;

    void start(std::function<void()> work);
    void waitForAll();

private:
    struct Running {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> ended;
    };

    void joinEnded();

    std::vector<Running> running_;
};
