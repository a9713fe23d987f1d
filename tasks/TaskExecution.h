// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tasks/IExecutionView.h"
#include "tasks/TaskControlSetup.h"
#include "tasks/TimeLeftEstimate.h"

class CDudidEvar;
class TaskList;

// Runs the waiting tasks of the list one after another through the conversion control, plays
// the preview of a task, and routes the control's events: to the audio extraction tool while it
// uses the control, to the preview while one plays, otherwise to the run. Everything it shows
// goes to the view; it touches no widget.
class TaskExecution {
public:
    enum class State {
        Idle,
        Running,  // a conversion is under way
        Halted,   // a run whose conversion did not start or failed; only Stop leaves it
        Previewing,
    };

    TaskExecution(CDudidEvar& control, TaskList& tasks, IExecutionView& view);

    // Execute: starts a run at the first waiting task, or, during a run, asks whether to stop it.
    void execute();
    // Preview: plays the task at the index, or stops the preview that plays.
    void preview(std::size_t task);
    // On: a task that does not start or fails midway is marked Failed, without a message box,
    // and the run goes on with the next task. Off: the run halts at it.
    void setGoOnAfterFailure(bool on) { goOnAfterFailure_ = on; }
    bool goesOnAfterFailure() const { return goOnAfterFailure_; }
    // Measuring a long list's lengths is spread over later turns of the event loop through
    // this (the window's thread stays free); without it every length is measured at once.
    using Deferral = std::function<void(std::function<void()>)>;
    void setDeferral(Deferral later) { later_ = std::move(later); }
    // The clock the time left is measured with; a steady clock unless a test sets another.
    void setClock(TimeLeftEstimate::Clock clock) { timeLeft_ = TimeLeftEstimate(std::move(clock)); }
    // Asked before each task of a run starts; a task it refuses (another program converts it or
    // has converted it) is passed over without a word.
    using StartCheck = std::function<bool(std::size_t)>;
    void setStartCheck(StartCheck check) { startCheck_ = std::move(check); }
    // The main window closes: stops what runs and releases every task's settings. Nothing is
    // started afterwards.
    void close();

    // The control's events.
    void convertDone();
    void convertProgress(double position, double length);
    void convertFailed(const std::string& reason);

    // While set, the control's events go to the sink and nothing else happens here.
    void setExtractionActive(bool active, IExtractionEvents* sink = nullptr);
    bool extractionActive() const { return extractionActive_; }

    State state() const;
    bool running() const { return running_; }
    bool previewing() const { return previewing_; }
    int currentTask() const { return currentTask_; }

private:
    bool runTask(std::size_t index);
    bool startFirstPart(ConversionTask& task);
    bool startNextPart(ConversionTask& task);
    void reportStarted();
    bool goesOnAfter(const std::string& reason);
    void haltRun(const std::string& reason);
    void markFailed(const std::string& reason);
    void goOnFrom(std::size_t index);
    void endRun(const BatchOutcome& outcome);
    void measureRun(std::size_t first);
    void measureSome(unsigned run);
    void measureTask(std::size_t index);
    void showRunShare(double doneInTask);
    void showTimeLeft(double doneInTask, double taskLength);
    double taskSeconds(const ConversionTask& task);
    void finishTask();
    void stopRun();
    void backToIdle();
    void endPreview();
    bool endTakenElsewhere(const std::function<void(IExtractionEvents&)>& toExtraction);
    void showProgress(double position, double length);
    ConversionTask& current();

    CDudidEvar& control_;
    TaskList& tasks_;
    IExecutionView& view_;
    TaskControlSetup setup_;
    IExtractionEvents* extractionSink_ = nullptr;

    int currentTask_ = -1;
    bool running_ = false;
    bool previewing_ = false;
    bool extractionActive_ = false;
    bool conversionUnderWay_ = false;
    bool closed_ = false;
    bool goOnAfterFailure_ = false;
    std::int32_t partStart_ = 0;
    double sourceDuration_ = 0.0;
    int progressEventCount_ = 0;

    // The whole run's share: each waiting task weighs its source time, measured at the start.
    std::vector<double> runWeights_;
    std::vector<bool> finishedInRun_;
    std::size_t measuredUpTo_ = 0;  // tasks before it are measured
    unsigned runNumber_ = 0;
    Deferral later_;
    StartCheck startCheck_;
    double runSeconds_ = 0.0;
    double finishedSeconds_ = 0.0;
    int runShare_ = -1;
    int tasksDone_ = 0;
    int tasksFailed_ = 0;
    TimeLeftEstimate timeLeft_;
};
