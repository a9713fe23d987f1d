// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/TaskExecution.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>

#include "engine/CDudidEvar.h"
#include "tasks/ProgressMeter.h"
#include "tasks/TaskList.h"
#include "tasks/TaskRowText.h"

namespace {

const ExecutionMessage kFailedToExecute{"Failed to execute the task.", MessageCaption::ApplicationName,
                                        PromptIcon::Exclamation, PromptButtons::Ok};
const ExecutionMessage kStopConversion{"Stop conversion?", MessageCaption::ProductTitle, PromptIcon::Information,
                                       PromptButtons::YesNo};
const ExecutionMessage kCannotPreview{"Can not preview the output file.", MessageCaption::ProductTitle,
                                      PromptIcon::Information, PromptButtons::Ok};

std::string executingLine(std::size_t index, const std::string& description)
{
    char number[32];
    std::snprintf(number, sizeof number, "%zu", index + 1);
    return std::string("Executing task ") + number + "  -  " + description;
}

// Seconds as the whole number the extraction tool takes.
int truncatedSeconds(double seconds)
{
    if (!std::isfinite(seconds))
        return 0;
    if (seconds >= double(INT_MAX))
        return INT_MAX;
    if (seconds <= double(INT_MIN))
        return INT_MIN;
    return static_cast<int>(seconds);
}

// A split task with an interval that makes no parts runs whole.
bool runsInParts(const ConversionTask& task)
{
    return task.isSplit() && task.settings->splitSeconds > 0;
}

}  // namespace

TaskExecution::TaskExecution(CDudidEvar& control, TaskList& tasks, IExecutionView& view)
    : control_(control), tasks_(tasks), view_(view), setup_(control)
{
}

TaskExecution::State TaskExecution::state() const
{
    if (previewing_)
        return State::Previewing;
    if (!running_)
        return State::Idle;
    return conversionUnderWay_ ? State::Running : State::Halted;
}

void TaskExecution::setExtractionActive(bool active, IExtractionEvents* sink)
{
    extractionActive_ = active;
    extractionSink_ = active ? sink : nullptr;
}

ConversionTask& TaskExecution::current()
{
    return tasks_.at(static_cast<std::size_t>(currentTask_));
}

void TaskExecution::execute()
{
    if (closed_ || previewing_ || extractionActive_)
        return;
    if (running_) {
        stopRun();
        return;
    }
    const auto first = tasks_.nextToRun(0);
    if (!first)
        return;
    running_ = true;
    previewing_ = false;
    measureRun(*first);
    view_.enableTaskCommands(false);
    view_.enablePreview(false);
    view_.showRunLook(true);
    goOnFrom(*first);
}

void TaskExecution::stopRun()
{
    if (view_.showMessage(kStopConversion) != PromptAnswer::Yes)
        return;
    // The run may have ended on its own while the question was open.
    if (!running_ || closed_)
        return;
    control_.Stop();
    const bool wasConverting = conversionUnderWay_;
    conversionUnderWay_ = false;
    view_.enableTaskCommands(true);
    view_.enablePreview(true);
    view_.showRunLook(false);
    view_.appendLogLine("User Cancelled");
    running_ = false;
    // A halted run was reported as failed already.
    if (wasConverting)
        endRun({tasksDone_, true, {}, {}, {}, tasksFailed_});
}

// Every task to run from the first is run; its sources' length is its weight in the run. The
// whole run's share is shown once every task is measured.
void TaskExecution::measureRun(std::size_t first)
{
    runWeights_.assign(tasks_.size(), 0.0);
    finishedInRun_.assign(tasks_.size(), false);
    runSeconds_ = 0.0;
    finishedSeconds_ = 0.0;
    runShare_ = -1;
    tasksDone_ = 0;
    tasksFailed_ = 0;
    measuredUpTo_ = first;
    ++runNumber_;
    timeLeft_.startRun();
    if (!later_) {
        while (measuredUpTo_ < tasks_.size())
            measureTask(measuredUpTo_++);
        return;
    }
    later_([this, run = runNumber_] { measureSome(run); });
}

// Measures for a few milliseconds, then leaves the rest to a later turn.
void TaskExecution::measureSome(unsigned run)
{
    if (run != runNumber_ || !running_ || closed_)
        return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(8);
    while (measuredUpTo_ < tasks_.size() && std::chrono::steady_clock::now() < until)
        measureTask(measuredUpTo_++);
    if (measuredUpTo_ < tasks_.size())
        later_([this, run] { measureSome(run); });
}

void TaskExecution::measureTask(std::size_t index)
{
    const ConversionTask& task = tasks_.at(index);
    if (task.status == TaskStatus::Done && !finishedInRun_[index])
        return;
    if (!task.settings || task.sources.empty())
        return;
    runWeights_[index] = taskSeconds(task);
    runSeconds_ += runWeights_[index];
    if (finishedInRun_[index])
        finishedSeconds_ += runWeights_[index];
}

double TaskExecution::taskSeconds(const ConversionTask& task)
{
    if (task.isSplit())
        return std::max(0.0, control_.GetDuration(task.sources.front()));
    double seconds = 0.0;
    for (const std::string& source : task.sources)
        seconds += std::max(0.0, control_.GetDuration(source));
    return seconds;
}

void TaskExecution::showRunShare(double doneInTask)
{
    if (measuredUpTo_ < tasks_.size())
        return;
    const double weight = runWeights_.at(static_cast<std::size_t>(currentTask_));
    const double done = finishedSeconds_ + std::clamp(doneInTask, 0.0, weight);
    const int share = runSeconds_ > 0.0 ? static_cast<int>(std::clamp(done / runSeconds_ * 100.0, 0.0, 100.0)) : 0;
    if (share == runShare_)
        return;
    runShare_ = share;
    view_.showRunShare(share);
}

// Source seconds weigh the list's time left as they weigh its share.
void TaskExecution::showTimeLeft(double doneInTask, double taskLength)
{
    const bool measured = measuredUpTo_ >= tasks_.size();
    const double weight = measured ? runWeights_.at(static_cast<std::size_t>(currentTask_)) : 0.0;
    const double listDone = finishedSeconds_ + std::clamp(doneInTask, 0.0, weight);
    view_.showTimeLeft(timeLeft_.update(doneInTask, taskLength, listDone, measured ? runSeconds_ : 0.0));
}

void TaskExecution::endRun(const BatchOutcome& outcome)
{
    runShare_ = -1;
    view_.showTimeLeft({});
    view_.showRunShare(-1);
    view_.runEnded(outcome);
}

// Starts the task; false when the run goes on past it at once (it failed while going on after
// failures, or it has nothing to convert).
bool TaskExecution::runTask(std::size_t index)
{
    ConversionTask& task = tasks_.at(index);
    if (task.status == TaskStatus::Done || !task.settings || task.sources.empty())
        return false;
    if (startCheck_ && !startCheck_(index))
        return false;
    view_.appendLogLine(executingLine(index, task.description));
    currentTask_ = static_cast<int>(index);
    if (startFirstPart(task)) {
        reportStarted();
        return true;
    }
    return !goesOnAfter(setup_.failureReason());
}

bool TaskExecution::startFirstPart(ConversionTask& task)
{
    if (runsInParts(task)) {
        partStart_ = 0;
        sourceDuration_ = setup_.setUp(task);
        return setup_.convertSplitPart(task, partStart_, sourceDuration_);
    }
    setup_.setUp(task);
    return setup_.addWholeTaskClips(task) && setup_.convertTo(task.outputPath);
}

bool TaskExecution::startNextPart(ConversionTask& task)
{
    sourceDuration_ = setup_.setUp(task);
    return setup_.convertSplitPart(task, partStart_, sourceDuration_);
}

void TaskExecution::reportStarted()
{
    conversionUnderWay_ = true;
    timeLeft_.startTask();
    view_.appendLogLine("0% Finished");
    view_.scrollLogToEnd();
    view_.appendLogLine("");
}

// The current task failed: true when the run goes on past it, false when it halts.
bool TaskExecution::goesOnAfter(const std::string& reason)
{
    if (!goOnAfterFailure_) {
        haltRun(reason);
        return false;
    }
    markFailed(reason);
    return true;
}

// The reason stays in the log and the task is marked failed.
void TaskExecution::markFailed(const std::string& reason)
{
    conversionUnderWay_ = false;
    view_.appendLogLine("Failed");
    if (!reason.empty())
        view_.appendLogLine(reason);
    const auto index = static_cast<std::size_t>(currentTask_);
    tasks_.markFailed(index);
    view_.setStatusCell(index, "Failed");
    view_.taskStatusChanged(index);
    ++tasksFailed_;
    finishedInRun_.at(index) = true;
    finishedSeconds_ += runWeights_.at(index);
}

// The run stays active without a conversion; Execute and "Stop conversion?" end it. The
// reason, when the control gives one, follows the "Failed" line.
void TaskExecution::haltRun(const std::string& reason)
{
    conversionUnderWay_ = false;
    view_.showMessage(kFailedToExecute);
    view_.appendLogLine("Failed");
    if (!reason.empty())
        view_.appendLogLine(reason);
    const ConversionTask& task = current();
    endRun({tasksDone_, false, currentTask_, task.description, reason});
}

// The end of a run, done or failed, ends the preview that plays or goes to the audio tool;
// true when it does not belong to a conversion of the task run.
bool TaskExecution::endTakenElsewhere(const std::function<void(IExtractionEvents&)>& toExtraction)
{
    if (closed_)
        return true;
    if (previewing_) {
        endPreview();
        view_.showPreviewLook(false);
        return true;
    }
    if (extractionActive_) {
        if (extractionSink_)
            toExtraction(*extractionSink_);
        return true;
    }
    return !conversionUnderWay_;
}

void TaskExecution::convertDone()
{
    if (endTakenElsewhere([](IExtractionEvents& tool) { tool.extractionDone(); }))
        return;
    ConversionTask& task = current();
    if (runsInParts(task)) {
        // The parts cover the length the source had when the last part started: a source
        // that is gone by now fails the next part rather than ending the task early.
        partStart_ += task.settings->splitSeconds;
        if (partStart_ < sourceDuration_) {
            if (!startNextPart(task) && goesOnAfter(setup_.failureReason()))
                goOnFrom(static_cast<std::size_t>(currentTask_) + 1);
            return;
        }
    }
    finishTask();
}

void TaskExecution::finishTask()
{
    conversionUnderWay_ = false;
    timeLeft_.finishTask();
    view_.setProgressBar(100, 0);
    view_.replaceProgressLine("Done");
    tasks_.markDone(static_cast<std::size_t>(currentTask_));
    view_.setStatusCell(static_cast<std::size_t>(currentTask_), "Done");
    view_.taskStatusChanged(static_cast<std::size_t>(currentTask_));
    ++tasksDone_;
    finishedInRun_.at(static_cast<std::size_t>(currentTask_)) = true;
    finishedSeconds_ += runWeights_.at(static_cast<std::size_t>(currentTask_));
    goOnFrom(static_cast<std::size_t>(currentTask_) + 1);
}

// Runs the next task that starts, from the index on; a loop, so a long list of tasks that fail
// at their start never deepens the stack.
void TaskExecution::goOnFrom(std::size_t index)
{
    for (auto next = tasks_.nextToRun(index); next; next = tasks_.nextToRun(*next + 1)) {
        if (runTask(*next))
            return;
    }
    backToIdle();
}

void TaskExecution::backToIdle()
{
    running_ = false;
    view_.enableTaskCommands(true);
    view_.enablePreview(true);
    view_.showRunLook(false);
    const BatchOutcome outcome{tasksDone_, false, {}, {}, {}, tasksFailed_};
    if (goOnAfterFailure_)
        view_.appendLogLine(BatchEndNotice::body(outcome));
    endRun(outcome);
}

void TaskExecution::convertProgress(double position, double length)
{
    if (closed_)
        return;
    if (extractionActive_) {
        progressEventCount_ = 0;
        if (extractionSink_)
            extractionSink_->extractionProgress(truncatedSeconds(position), truncatedSeconds(length));
        return;
    }
    if (!conversionUnderWay_)
        return;
    ++progressEventCount_;
    showProgress(position, length);
}

void TaskExecution::showProgress(double position, double length)
{
    double done = position;
    double total = length;
    if (runsInParts(current())) {
        done = partStart_ + position;
        total = sourceDuration_;
    }
    view_.setProgressBar(ProgressMeter::barMaximum(total), ProgressMeter::barPosition(done, total));
    showRunShare(done);
    showTimeLeft(done, total);
    if (progressEventCount_ <= 5)
        return;
    const std::string text = TaskRowText::progress(ProgressMeter::percent(done, total));
    view_.replaceProgressLine(text);
    view_.setStatusCell(static_cast<std::size_t>(currentTask_), text);
    progressEventCount_ = 0;
}

void TaskExecution::convertFailed(const std::string& reason)
{
    if (endTakenElsewhere([&](IExtractionEvents& tool) { tool.extractionFailed(reason); }))
        return;
    if (goesOnAfter(reason))
        goOnFrom(static_cast<std::size_t>(currentTask_) + 1);
}

void TaskExecution::preview(std::size_t task)
{
    if (closed_ || running_ || extractionActive_)
        return;
    if (previewing_) {
        view_.showPreviewLook(false);
        control_.Stop();
        endPreview();
        return;
    }
    if (task >= tasks_.size())
        return;
    ConversionTask& previewed = tasks_.at(task);
    if (!previewed.settings || previewed.sources.empty())
        return;
    setup_.setUp(previewed);
    setup_.addWholeTaskClips(previewed);
    view_.showPreviewArea(true);
    if (!control_.Preview()) {
        view_.showMessage(kCannotPreview);
        view_.showPreviewArea(false);
        // The message box has no room for it; the log keeps the reason, naming the source.
        if (const std::string reason = setup_.failureReason(); !reason.empty())
            view_.appendLogLine(reason);
        return;
    }
    view_.showPreviewLook(true);
    previewing_ = true;
    view_.enableTaskCommands(false);
    view_.enableExecute(false);
}

void TaskExecution::endPreview()
{
    previewing_ = false;
    view_.showPreviewArea(false);
    view_.enableTaskCommands(true);
    view_.enableExecute(true);
}

void TaskExecution::close()
{
    if (closed_)
        return;
    if (running_ || previewing_)
        control_.Stop();
    closed_ = true;
    running_ = false;
    previewing_ = false;
    conversionUnderWay_ = false;
    tasks_.releaseAllSettings();
}
