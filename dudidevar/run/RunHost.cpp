// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/RunHost.h"

#include "engine/IConversionControl.h"
#include "dudidevar/run/ThreadPriority.h"

RunHost::RunHost() : relay_(std::make_unique<QObject>()) {}

RunHost::~RunHost()
{
    stop();
}

void RunHost::start(Work work)
{
    stop();
    stopFlag_ = false;
    const std::uint64_t generation = ++generation_;
    working_ = true;
    worker_ = std::thread([this, generation, work = std::move(work)]() mutable {
        ThreadPriority::lowerThisThread();
        RunProgress progress(stopFlag_, [this, generation](double done, double total) {
            post([this, generation, done, total] { deliverProgress(generation, done, total); });
        });
        RunOutcome outcome = work(progress);
        // The work's resources go before the end is reported, so the join that follows it on
        // the user-interface thread does not wait for them.
        work = nullptr;
        working_ = false;
        post([this, generation, outcome = std::move(outcome)] { finish(generation, outcome); });
    });
}

void RunHost::stop()
{
    ++generation_;
    stopFlag_ = true;
    if (worker_.joinable())
        worker_.join();
}

void RunHost::post(std::function<void()> call)
{
    QMetaObject::invokeMethod(relay_.get(), std::move(call), Qt::QueuedConnection);
}

void RunHost::deliverProgress(std::uint64_t generation, double done, double total)
{
    if (generation != generation_ || !sink_)
        return;
    sink_->OnConvertProgress(done, total);
}

void RunHost::finish(std::uint64_t generation, const RunOutcome& outcome)
{
    if (generation != generation_)
        return;
    if (worker_.joinable())
        worker_.join();
    if (!sink_)
        return;
    if (outcome.ok)
        sink_->OnConvertDone();
    else
        sink_->OnConvertFailed(outcome.reason);
}
