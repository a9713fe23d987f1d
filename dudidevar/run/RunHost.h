// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "dudidevar/run/RunOutcome.h"
#include "dudidevar/run/RunProgress.h"

class IControlEvents;

// Runs one piece of work at a time on a worker thread and hands its events to the sink on the
// thread that created the host, queued. Every run has a generation; an event whose run was
// stopped or replaced is dropped, so nothing of a run arrives after stop() returns.
class RunHost {
public:
    using Work = std::function<RunOutcome(RunProgress&)>;

    RunHost();
    ~RunHost();
    RunHost(const RunHost&) = delete;
    RunHost& operator=(const RunHost&) = delete;

    void setSink(IControlEvents* sink) { sink_ = sink; }
    // Stops any run still going, then starts the work.
    void start(Work work);
    // Ends the current run and waits for its thread; harmless when nothing runs.
    void stop();
    bool active() const { return worker_.joinable(); }
    // Whether a piece of work is under way (it has not returned).
    bool working() const { return working_; }

private:
    void post(std::function<void()> call);
    void deliverProgress(std::uint64_t generation, double done, double total);
    void finish(std::uint64_t generation, const RunOutcome& outcome);

    std::unique_ptr<QObject> relay_;
    std::thread worker_;
    std::atomic<bool> stopFlag_{false};
    std::atomic<bool> working_{false};
    std::atomic<std::uint64_t> generation_{0};
    IControlEvents* sink_ = nullptr;
};
