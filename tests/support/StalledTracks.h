// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "ScriptedControl.h"

// A scripted control whose sources lie on a slow disk: reading their tracks lasts until the test
// lets it go.
class StalledTracks : public ScriptedControl {
public:
    using ScriptedControl::ScriptedControl;

    std::vector<SourceTrack> GetTracks(const std::string& path) override
    {
        std::unique_lock<std::mutex> hold(lock_);
        ++started_;
        ++inside_;
        changed_.notify_all();
        changed_.wait(hold, [this] { return released_; });
        --inside_;
        changed_.notify_all();
        return ScriptedControl::GetTracks(path);
    }

    // Runs `close` once a reading has stalled; true when it returned while the reading still
    // stalled. The reading is let go after three seconds, so that a close that waits for it
    // ends too; readings after that stall again.
    bool closesWhileStalled(const std::function<void()>& close)
    {
        if (!readingStarted())
            return false;
        std::atomic<bool> closed{false};
        auto letGo = std::async(std::launch::async, [&] {
            for (int i = 0; i < 300 && !closed; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const bool tooLong = !closed;
            release();
            return tooLong;
        });
        close();
        closed = true;
        const bool prompt = !letGo.get();
        stallAgain();
        return prompt;
    }

private:
    bool readingStarted()
    {
        std::unique_lock<std::mutex> hold(lock_);
        return changed_.wait_for(hold, std::chrono::seconds(10), [this] { return started_ > 0; });
    }
    void release()
    {
        const std::lock_guard<std::mutex> hold(lock_);
        released_ = true;
        changed_.notify_all();
    }
    void stallAgain()
    {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [this] { return inside_ == 0; });
        released_ = false;
        started_ = 0;
    }

    std::mutex lock_;
    std::condition_variable changed_;
    int started_ = 0;
    int inside_ = 0;
    bool released_ = false;
};
