#include "dudidevar/run/RunHost.h"

#include <sys/resource.h>
#include <cerrno>
#include <unistd.h>

#include "engine/IConversionControl.h"

namespace {
constexpr auto kProgressInterval = std::chrono::milliseconds(200);
constexpr int kWorkNiceness = 5;

// A run yields the processor to the user-interface thread: its worker, and the codec threads
// the worker starts (which inherit it), run a few steps below normal priority.
void lowerThisThreadsPriority()
{
#ifdef __linux__
    const auto self = static_cast<id_t>(::gettid());
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, self);
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, self, current + kWorkNiceness);
#endif
}
}  // namespace

RunProgress::RunProgress(const std::atomic<bool>& stopFlag, Report report)
    : stopFlag_(stopFlag), report_(std::move(report))
{
}

void RunProgress::report(double secondsDone, double totalSeconds)
{
    const auto now = std::chrono::steady_clock::now();
    const bool firstComplete = !completeReported_ && totalSeconds > 0 && secondsDone >= totalSeconds;
    if (reported_ && now - last_ < kProgressInterval && !firstComplete)
        return;
    completeReported_ = completeReported_ || firstComplete;
    reported_ = true;
    last_ = now;
    report_(secondsDone, totalSeconds);
}

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
    worker_ = std::thread([this, generation, work = std::move(work)]() mutable {
        lowerThisThreadsPriority();
        RunProgress progress(stopFlag_, [this, generation](double done, double total) {
            post([this, generation, done, total] { deliverProgress(generation, done, total); });
        });
        RunOutcome outcome = work(progress);
        // The work's resources go before the end is reported, so the join that follows it on
        // the user-interface thread does not wait for them.
        work = nullptr;
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
