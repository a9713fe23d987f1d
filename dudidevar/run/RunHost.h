#pragma once

#include <QObject>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class IControlEvents;

// How a run ended: success, or the reason it could not be completed.
struct RunOutcome {
    bool ok = false;
    std::string reason;

    static RunOutcome success() { return {true, {}}; }
    static RunOutcome failure(std::string why) { return {false, std::move(why)}; }
};

// What a run's work sees of its host: the stop request and a throttled progress report.
class RunProgress {
public:
    using Report = std::function<void(double, double)>;
    RunProgress(const std::atomic<bool>& stopFlag, Report report);

    bool stopRequested() const { return stopFlag_.load(std::memory_order_relaxed); }
    // Passed on at most a few times a second; the first report and the one that says the
    // work is complete always go out.
    void report(double secondsDone, double totalSeconds);

private:
    const std::atomic<bool>& stopFlag_;
    Report report_;
    std::chrono::steady_clock::time_point last_{};
    bool reported_ = false;
    bool completeReported_ = false;
};

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

private:
    void post(std::function<void()> call);
    void deliverProgress(std::uint64_t generation, double done, double total);
    void finish(std::uint64_t generation, const RunOutcome& outcome);

    std::unique_ptr<QObject> relay_;
    std::thread worker_;
    std::atomic<bool> stopFlag_{false};
    std::atomic<std::uint64_t> generation_{0};
    IControlEvents* sink_ = nullptr;
};
