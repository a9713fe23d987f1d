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

// A scripted control whose sources lie on a slow disk: reading their tracks, and their lengths
// once asked to, lasts until the test lets it go.
class StalledTracks : public ScriptedControl {
public:
    using ScriptedControl::ScriptedControl;

    void stallLengthsToo() { lengthsStall_ = true; }

    std::vector<SourceTrack> GetTracks(const std::string& path) override
    {
        stall();
        return ScriptedControl::GetTracks(path);
    }

    // Not recorded: asked off the test's thread.
    double GetDuration(const std::string& path) override
    {
        if (!lengthsStall_)
            return ScriptedControl::GetDuration(path);
        stall();
        const auto it = script().durations.find(path);
        return it == script().durations.end() ? 0.0 : it->second;
    }

    // Runs `close` once a reading has stalled; true when it returned while the reading still
    // stalled.
    bool closesWhileStalled(const std::function<void()>& close)
    {
        return readingsStarted(1) && returnsWhileStalled(close);
    }

    // Runs `act`; true when it returned while the readings still stalled. They are let go after
    // three seconds, so that an act that waits for them ends too; readings after that stall again.
    bool returnsWhileStalled(const std::function<void()>& act)
    {
        std::atomic<bool> done{false};
        auto letGo = std::async(std::launch::async, [&] {
            for (int i = 0; i < 300 && !done; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const bool tooLong = !done;
            release();
            return tooLong;
        });
        act();
        done = true;
        const bool prompt = !letGo.get();
        stallAgain();
        return prompt;
    }

    // Whether `count` readings have started since the last stall, within ten seconds.
    bool readingsStarted(int count)
    {
        std::unique_lock<std::mutex> hold(lock_);
        return changed_.wait_for(hold, std::chrono::seconds(10), [this, count] { return started_ >= count; });
    }

private:
    void stall()
    {
        std::unique_lock<std::mutex> hold(lock_);
        ++started_;
        ++inside_;
        changed_.notify_all();
        changed_.wait(hold, [this] { return released_; });
        --inside_;
        changed_.notify_all();
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
    std::atomic<bool> lengthsStall_{false};
};
