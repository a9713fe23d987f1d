// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "RecordingExecutionView.h"
#include "ScriptedControl.h"
#include "engine/CDudidEvar.h"
#include "tasks/TaskExecution.h"
#include "tasks/TaskList.h"

namespace {

using Lines = std::vector<std::string>;

class TaskExecutionTest : public ::testing::Test {
protected:
    TaskExecutionTest()
    {
        auto owned = std::make_unique<ScriptedControl>();
        control = owned.get();
        control->script().durations = {{"/m/a.mpg", 150.0}, {"/m/b.mpg", 120.0}, {"/m/c.avi", 20.0},
                                       {"/m/long.mpg", 7200.0}, {"/m/60.mpg", 60.0},  {"/m/30.mpg", 30.0},
                                       {"/m/90.mpg", 90.0}};
        control->script().sizes = {{"/m/a.mpg", {640, 360}}};
        wrapper.Attach(std::move(owned));
        QObject::connect(&wrapper, &CDudidEvar::convertDone, [this] { execution.convertDone(); });
        QObject::connect(&wrapper, &CDudidEvar::convertProgress,
                         [this](double done, double total) { execution.convertProgress(done, total); });
        QObject::connect(&wrapper, &CDudidEvar::convertFailed,
                         [this](const QString& reason) { execution.convertFailed(reason.toStdString()); });
    }

    std::size_t addTask(std::vector<std::string> sources, std::string output, int splitSeconds = 0,
                        OutputFormat format = OutputFormat::Avi)
    {
        const std::size_t i = tasks.append(std::move(sources), std::move(output), "To AVI");
        TaskSettings& s = *tasks.at(i).settings;
        s.format = format;
        s.width = 352;
        s.height = 240;
        s.split = splitSeconds > 0 ? 1 : 0;
        s.splitSeconds = splitSeconds;
        return i;
    }

    // Three tasks of 60, 30 and 90 s: their weights in the whole run's share.
    void addWeightedTasks()
    {
        for (const char* source : {"/m/60.mpg", "/m/30.mpg", "/m/90.mpg"})
            addTask({source}, std::string(source) + ".avi");
    }

    void progress(int events, double position, double length)
    {
        for (int i = 0; i < events; ++i)
            control->raiseProgress(position, length);
    }

    Lines logTail(std::size_t n) const { return Lines(view.log.end() - std::ptrdiff_t(n), view.log.end()); }

    // Time as the test moves it; the last time left reported.
    void useClock() { execution.setClock([this] { return now; }); }
    const TimeLeftEstimate::Estimate& timeLeft() const { return view.timesLeft.back(); }

    double now = 100.0;

    CDudidEvar wrapper;
    ScriptedControl* control = nullptr;
    TaskList tasks;
    RecordingExecutionView view;
    TaskExecution execution{wrapper, tasks, view};
};

TEST_F(TaskExecutionTest, SplitSourceOf150SecondsGivesThreeNamedPartsThenDone)
{
    addTask({"/m/a.mpg"}, "/out/a.avi", 60);
    execution.execute();
    control->raiseDone();
    control->raiseDone();
    EXPECT_EQ(execution.state(), TaskExecution::State::Running);
    control->raiseDone();

    EXPECT_EQ(control->callsStartingWith("Convert"),
              (Lines{"Convert(/out/a.avi)", "Convert(/out/a_001.avi)", "Convert(/out/a_002.avi)"}));
    EXPECT_EQ(control->callsStartingWith("AddVideoClip"),
              (Lines{"AddVideoClip(/m/a.mpg, 0, 60, 0)", "AddVideoClip(/m/a.mpg, 60, 120, 0)",
                     "AddVideoClip(/m/a.mpg, 120, 150, 0)"}));
    EXPECT_EQ(control->callsStartingWith("AddAudioClip").size(), 3u);
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Done);
    EXPECT_EQ(logTail(3), (Lines{"Executing task 1  -  To AVI", "Done", ""}));
    EXPECT_EQ(view.eventsStartingWith("status"), (Lines{"status[0] Done"}));
    EXPECT_EQ(execution.state(), TaskExecution::State::Idle);
    EXPECT_EQ(view.events.back(), "runLook 0");
}

// The last part ends exactly at the source's end: no empty third part.
TEST_F(TaskExecutionTest, SplitSourceOf120SecondsGivesExactlyTwoParts)
{
    addTask({"/m/b.mpg"}, "/out/b.mpg", 60);
    execution.execute();
    control->raiseDone();
    control->raiseDone();
    EXPECT_EQ(control->callsStartingWith("Convert"), (Lines{"Convert(/out/b.mpg)", "Convert(/out/b_001.mpg)"}));
    EXPECT_EQ(control->callsStartingWith("AddVideoClip").back(), "AddVideoClip(/m/b.mpg, 60, 120, 0)");
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Done);
}


TEST_F(TaskExecutionTest, ThreeSourcesMakeOneConversionInListOrderWithoutSoundWhenVideoOnly)
{
    addTask({"/m/c.avi", "/m/a.mpg", "/m/b.mpg"}, "/out/joined.avi", 60);
    tasks.at(0).settings->videoOnly = 1;
    execution.execute();
    EXPECT_EQ(control->callsStartingWith("AddVideoClip"),
              (Lines{"AddVideoClip(/m/c.avi, 0, 20, 0)", "AddVideoClip(/m/a.mpg, 0, 150, 0)",
                     "AddVideoClip(/m/b.mpg, 0, 120, 0)"}));
    EXPECT_TRUE(control->callsStartingWith("AddAudioClip").empty());
    EXPECT_EQ(control->callsStartingWith("Convert"), (Lines{"Convert(/out/joined.avi)"}));
    control->raiseDone();
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Done);
}

// A join never converts without one of its sources: the start is refused, and the reason
// names the source (in the control's words when they name it).
TEST_F(TaskExecutionTest, JoinWithASourceTheControlRefusesDoesNotStart)
{
    struct Case {
        std::string controlReason;
        std::string logged;
    };
    for (const Case& c : {Case{"", "cannot read the source /m/gone.mpg"},
                          Case{"cannot open /m/gone.mpg: No such file or directory",
                               "cannot open /m/gone.mpg: No such file or directory"},
                          Case{"Permission denied", "cannot read the source /m/gone.mpg: Permission denied"}}) {
        SCOPED_TRACE(c.logged);
        TaskList joins;
        RecordingExecutionView seen;
        TaskExecution run{wrapper, joins, seen};
        joins.append({"/m/c.avi", "/m/gone.mpg", "/m/b.mpg"}, "/out/joined.avi", "To AVI");
        control->clearCalls();
        control->script().refusedClips = {"/m/gone.mpg"};
        control->script().lastError = c.controlReason;
        run.execute();
        EXPECT_TRUE(control->callsStartingWith("Convert").empty());
        EXPECT_EQ(Lines(seen.log.end() - 2, seen.log.end()), (Lines{"Failed", c.logged}));
        ASSERT_EQ(seen.messages.size(), 1u);
        EXPECT_EQ(seen.messages[0].text, "Failed to execute the task.");
        EXPECT_EQ(joins.at(0).status, TaskStatus::Waiting);
        EXPECT_EQ(run.state(), TaskExecution::State::Halted);
    }
}

// A split source that is gone before its next part fails the task; it is never "Done" after
// fewer parts.
TEST_F(TaskExecutionTest, SplitSourceGoneBetweenPartsFailsTheTask)
{
    addTask({"/m/a.mpg"}, "/out/a.avi", 60);
    execution.execute();
    control->raiseDone();
    control->script().durations.erase("/m/a.mpg");
    control->raiseDone();
    EXPECT_EQ(control->callsStartingWith("Convert"), (Lines{"Convert(/out/a.avi)", "Convert(/out/a_001.avi)"}));
    EXPECT_EQ(logTail(2), (Lines{"Failed", "cannot read the source /m/a.mpg"}));
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Waiting);
    EXPECT_TRUE(view.eventsStartingWith("status").empty());
    EXPECT_EQ(execution.state(), TaskExecution::State::Halted);
}

TEST_F(TaskExecutionTest, StartShowsTheRunThenTheBarMovesAtEveryEventAndTheTextAtEverySixth)
{
    addTask({"/m/c.avi"}, "/out/c.avi");
    execution.execute();
    EXPECT_EQ(view.events, (Lines{"taskCommands 0", "preview 0", "runLook 1", "log+ Executing task 1  -  To AVI",
                                  "log+ 0% Finished", "scroll", "log+ "}));
    EXPECT_EQ(control->calls().back(), "Convert(/out/c.avi)");
    view.events.clear();
    progress(5, 5.0, 20.0);
    EXPECT_EQ(view.events, Lines(5, "bar 5000/20000"));
    control->raiseProgress(10.0, 20.0);
    EXPECT_EQ(view.eventsStartingWith("log~"), (Lines{"log~ 50.0% Finished"}));
    EXPECT_EQ(view.eventsStartingWith("status"), (Lines{"status[0] 50.0% Finished"}));
    EXPECT_EQ(logTail(2), (Lines{"50.0% Finished", ""}));
    progress(5, 15.0, 20.0);
    EXPECT_EQ(view.eventsStartingWith("log~").size(), 1u);
    control->raiseProgress(15.0, 20.0);
    EXPECT_EQ(view.eventsStartingWith("log~").back(), "log~ 75.0% Finished");

    control->raiseDone();
    EXPECT_EQ(view.eventsStartingWith("bar").back(), "bar 0/100");
}


TEST_F(TaskExecutionTest, LongAndZeroLengthRunsShowSoundBarsAndPercentages)
{
    addTask({"/m/long.mpg"}, "/out/long.avi", 3600);
    execution.execute();
    control->raiseDone();  // second hour
    view.events.clear();
    progress(6, 1800.0, 3600.0);
    EXPECT_EQ(view.events.front(), "bar 5400000/7200000");
    EXPECT_EQ(view.eventsStartingWith("status"), (Lines{"status[0] 75.0% Finished"}));

    control->raiseDone();
    addTask({"/m/c.avi"}, "/out/c.avi");
    execution.execute();
    view.events.clear();
    progress(6, 0.0, 0.0);
    EXPECT_EQ(view.events.front(), "bar 0/1");
    EXPECT_EQ(view.eventsStartingWith("status"), (Lines{"status[1] 0.0% Finished"}));
    progress(1, 0.25, 0.5);
    EXPECT_EQ(view.events.back(), "bar 250/500");
}

TEST_F(TaskExecutionTest, StopLeavesTheTaskWaitingAndTheNextExecuteStartsItFromItsFirstPart)
{
    addTask({"/m/a.mpg"}, "/out/a.avi", 60);
    execution.execute();
    control->raiseDone();
    progress(6, 30.0, 60.0);

    view.answers = {PromptAnswer::No};
    execution.execute();
    EXPECT_EQ(execution.state(), TaskExecution::State::Running);
    EXPECT_TRUE(control->callsStartingWith("Stop").empty());

    view.events.clear();
    execution.execute();
    EXPECT_EQ(view.messages.back().text, "Stop conversion?");
    EXPECT_EQ(view.messages.back().caption, MessageCaption::ProductTitle);
    EXPECT_EQ(view.messages.back().icon, PromptIcon::Information);
    EXPECT_EQ(view.messages.back().buttons, PromptButtons::YesNo);
    EXPECT_EQ(control->calls().back(), "Stop()");
    EXPECT_EQ(view.events, (Lines{"message Stop conversion?", "taskCommands 1", "preview 1", "runLook 0",
                                  "log+ User Cancelled"}));
    EXPECT_EQ(logTail(3), (Lines{"60.0% Finished", "", "User Cancelled"}));
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Waiting);
    EXPECT_EQ(execution.state(), TaskExecution::State::Idle);

    control->raiseDone();  // late event of the stopped run
    EXPECT_EQ(control->callsStartingWith("Convert").size(), 2u);

    control->clearCalls();
    execution.execute();
    EXPECT_EQ(control->callsStartingWith("Convert"), (Lines{"Convert(/out/a.avi)"}));
    EXPECT_EQ(control->callsStartingWith("AddVideoClip"), (Lines{"AddVideoClip(/m/a.mpg, 0, 60, 0)"}));
}

TEST_F(TaskExecutionTest, FailedStartHaltsTheRunUntilTheUserStopsIt)
{
    addTask({"/m/c.avi"}, "/out/c.avi");
    addTask({"/m/b.mpg"}, "/out/b.avi");
    control->script().convertResult = false;
    execution.execute();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "Failed to execute the task.");
    EXPECT_EQ(view.messages[0].caption, MessageCaption::ApplicationName);
    EXPECT_EQ(view.messages[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(logTail(2), (Lines{"Executing task 1  -  To AVI", "Failed"}));
    EXPECT_EQ(execution.state(), TaskExecution::State::Halted);
    EXPECT_EQ(view.eventsStartingWith("runLook"), (Lines{"runLook 1"}));

    control->raiseProgress(1.0, 2.0);
    control->raiseDone();
    EXPECT_EQ(control->callsStartingWith("Convert").size(), 1u);
    EXPECT_TRUE(view.eventsStartingWith("bar").empty());

    execution.execute();
    EXPECT_EQ(view.messages.back().text, "Stop conversion?");
    EXPECT_EQ(execution.state(), TaskExecution::State::Idle);
    EXPECT_EQ(view.log.back(), "User Cancelled");
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Waiting);
}

TEST_F(TaskExecutionTest, RunFailingMidwayLeavesTheTaskWaitingAndStartsNothingMore)
{
    addTask({"/m/c.avi"}, "/out/c.avi");
    addTask({"/m/b.mpg"}, "/out/b.avi");
    execution.execute();
    progress(6, 10.0, 20.0);
    control->raiseFailed("No space left on device");
    EXPECT_EQ(view.messages.back().text, "Failed to execute the task.");
    EXPECT_EQ(logTail(4), (Lines{"50.0% Finished", "", "Failed", "No space left on device"}));
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Waiting);
    EXPECT_EQ(execution.state(), TaskExecution::State::Halted);
    control->raiseDone();
    EXPECT_EQ(control->callsStartingWith("Convert"), (Lines{"Convert(/out/c.avi)"}));
    EXPECT_EQ(view.eventsStartingWith("status"), (Lines{"status[0] 50.0% Finished"}));
}

TEST_F(TaskExecutionTest, DoneTasksAreSkippedAndEveryDoneListStartsNothing)
{
    addTask({"/m/c.avi"}, "/out/1.avi");
    addTask({"/m/c.avi"}, "/out/2.avi");
    addTask({"/m/c.avi"}, "/out/3.avi");
    tasks.markDone(1);
    execution.execute();
    control->raiseDone();
    EXPECT_EQ(logTail(6), (Lines{"Executing task 1  -  To AVI", "Done", "", "Executing task 3  -  To AVI",
                                 "0% Finished", ""}));
    control->raiseDone();
    EXPECT_EQ(control->callsStartingWith("Convert"), (Lines{"Convert(/out/1.avi)", "Convert(/out/3.avi)"}));
    EXPECT_EQ(execution.state(), TaskExecution::State::Idle);

    control->clearCalls();
    view.events.clear();
    execution.execute();
    EXPECT_TRUE(control->calls().empty());
    EXPECT_TRUE(view.events.empty());
}


TEST_F(TaskExecutionTest, PreviewPlaysTheWholeTaskAndEndsOnItsOwnOrOnStop)
{
    addTask({"/m/a.mpg"}, "/out/a.avi", 60);
    execution.preview(0);
    EXPECT_EQ(control->callsStartingWith("AddVideoClip"), (Lines{"AddVideoClip(/m/a.mpg, 0, 150, 0)"}));
    EXPECT_EQ(control->calls().back(), "Preview()");
    EXPECT_EQ(view.events, (Lines{"previewArea 1", "previewLook 1", "taskCommands 0", "execute 0"}));
    EXPECT_EQ(execution.state(), TaskExecution::State::Previewing);

    execution.execute();  // Execute is disabled during a preview
    EXPECT_TRUE(control->callsStartingWith("Convert").empty());

    view.events.clear();
    control->raiseDone();
    EXPECT_EQ(view.events, (Lines{"previewArea 0", "taskCommands 1", "execute 1", "previewLook 0"}));
    EXPECT_EQ(execution.state(), TaskExecution::State::Idle);

    execution.preview(0);
    view.events.clear();
    execution.preview(0);
    EXPECT_EQ(control->calls().back(), "Stop()");
    EXPECT_EQ(view.events, (Lines{"previewLook 0", "previewArea 0", "taskCommands 1", "execute 1"}));

    // A preview that does not start shows the log again, with the reason below.
    control->script().previewResult = false;
    control->script().lastError = "/m/a.mpg has no picture";
    view.events.clear();
    execution.preview(0);
    EXPECT_EQ(view.events, (Lines{"previewArea 1", "message Can not preview the output file.", "previewArea 0",
                                  "log+ /m/a.mpg has no picture"}));
    EXPECT_EQ(view.messages.back().caption, MessageCaption::ProductTitle);
    EXPECT_EQ(view.messages.back().icon, PromptIcon::Information);
    EXPECT_EQ(execution.state(), TaskExecution::State::Idle);
    // A source the control refuses is named even when the control's words do not name it.
    control->script().refusedClips = {"/m/a.mpg"};
    control->script().lastError = "Invalid data found when processing input";
    execution.preview(0);
    EXPECT_EQ(view.log.back(), "cannot read the source /m/a.mpg: Invalid data found when processing input");
    view.events.clear();
    execution.preview(5);  // no such row
    EXPECT_TRUE(view.events.empty());
}

class RecordingExtraction : public IExtractionEvents {
public:
    std::vector<std::string> events;
    void extractionDone() override { events.push_back("done"); }
    void extractionProgress(int position, int length) override
    {
        events.push_back("progress " + std::to_string(position) + " " + std::to_string(length));
    }
    void extractionFailed(const std::string& reason) override { events.push_back("failed " + reason); }
};

TEST_F(TaskExecutionTest, EventsOutsideARunAreIgnoredOrGoToTheExtractionTool)
{
    addTask({"/m/c.avi"}, "/out/c.avi");
    control->raiseProgress(1.0, 2.0);
    control->raiseDone();
    control->raiseFailed("stray");
    EXPECT_TRUE(view.events.empty());
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Waiting);
    execution.preview(0);
    view.events.clear();
    progress(6, 1.0, 20.0);
    EXPECT_TRUE(view.events.empty());
    control->raiseDone();
    view.events.clear();

    RecordingExtraction tool;
    execution.setExtractionActive(true, &tool);
    control->raiseProgress(3.9, 20.7);
    control->raiseDone();
    control->raiseFailed("bad");
    execution.execute();
    EXPECT_EQ(tool.events, (Lines{"progress 3 20", "done", "failed bad"}));
    EXPECT_TRUE(view.events.empty());

    execution.setExtractionActive(false);
    execution.execute();
    progress(5, 1.0, 20.0);  // the count starts anew after extraction
    EXPECT_TRUE(view.eventsStartingWith("status").empty());
}

TEST_F(TaskExecutionTest, StopAnsweredAfterTheRunEndedChangesNothing)
{
    addTask({"/m/c.avi"}, "/out/c.avi");
    execution.execute();
    view.whileAsking = [this] { control->raiseDone(); };
    execution.execute();
    EXPECT_TRUE(control->callsStartingWith("Stop").empty());
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Done);
    EXPECT_EQ(view.log.back(), "");
    EXPECT_EQ(execution.state(), TaskExecution::State::Idle);
}

TEST_F(TaskExecutionTest, ClosingDuringARunStopsItAndReleasesEverySettingsRecord)
{
    addTask({"/m/c.avi"}, "/out/c.avi");
    addTask({"/m/b.mpg"}, "/out/b.avi");
    execution.execute();
    execution.close();
    EXPECT_EQ(control->calls().back(), "Stop()");
    EXPECT_EQ(tasks.at(0).settings, nullptr);
    EXPECT_EQ(tasks.at(1).settings, nullptr);
    control->raiseDone();
    execution.execute();
    execution.preview(0);
    EXPECT_EQ(control->callsStartingWith("Convert").size(), 1u);

    TaskExecution idle(wrapper, tasks, view);
    control->clearCalls();
    idle.close();
    EXPECT_TRUE(control->calls().empty());
}

}  // namespace

TEST_F(TaskExecutionTest, WholeRunShareIsWeightedByEachTasksLength)
{
    addWeightedTasks();
    execution.execute();
    control->raiseProgress(30.0, 60.0);   // half of the first: 30 of 180 s
    control->raiseDone();
    control->raiseProgress(15.0, 30.0);   // 60 + 15 of 180
    control->raiseDone();
    control->raiseProgress(90.0, 90.0);   // everything
    control->raiseDone();
    EXPECT_EQ(view.shares, (std::vector<int>{16, 41, 100, -1}));
    ASSERT_EQ(view.outcomes.size(), 1u);
    EXPECT_EQ(BatchEndNotice::body(view.outcomes[0]), "3 tasks done");
}

TEST_F(TaskExecutionTest, DoneTasksWeighNothingAndAStopSaysHowManyWereDone)
{
    addWeightedTasks();
    tasks.markDone(0);
    execution.execute();
    control->raiseProgress(15.0, 30.0);  // 15 of the 120 s that run
    control->raiseDone();
    execution.execute();                 // "Stop conversion?" answered Yes
    EXPECT_EQ(view.shares, (std::vector<int>{12, -1}));
    ASSERT_EQ(view.outcomes.size(), 1u);
    EXPECT_TRUE(view.outcomes[0].stopped);
    EXPECT_EQ(view.outcomes[0].tasksDone, 1);
}

TEST_F(TaskExecutionTest, RefusedLaterStartLogsTheControlsReasonAndEndsTheRunOnce)
{
    addWeightedTasks();
    control->script().convertResults = {true, false};
    control->script().lastError = "cannot open /m/30.mpg: No such file or directory";
    execution.execute();
    control->raiseDone();
    EXPECT_EQ(Lines(view.log.end() - 2, view.log.end()),
              (Lines{"Failed", "cannot open /m/30.mpg: No such file or directory"}));
    ASSERT_EQ(view.outcomes.size(), 1u);
    EXPECT_EQ(view.outcomes[0].failedTask, 1);
    EXPECT_EQ(view.outcomes[0].tasksDone, 1);
    EXPECT_EQ(BatchEndNotice::body(view.outcomes[0]),
              "Task 2 failed (To AVI): cannot open /m/30.mpg: No such file or directory");
    EXPECT_EQ(view.messages.back().text, "Failed to execute the task.");
    EXPECT_EQ(tasks.at(1).status, TaskStatus::Waiting);
    EXPECT_EQ(execution.state(), TaskExecution::State::Halted);
    control->raiseDone();  // a late event starts nothing more
    EXPECT_EQ(control->callsStartingWith("Convert").size(), 2u);
    execution.execute();  // leaving the halted run reports nothing more
    EXPECT_EQ(view.outcomes.size(), 1u);
    EXPECT_EQ(view.log.back(), "User Cancelled");
}

namespace {

// Go on after a failed task: task 2 of 3 fails, at its start or midway; the run goes on.
class GoOnAfterFailureTest : public TaskExecutionTest, public ::testing::WithParamInterface<bool> {};

TEST_P(GoOnAfterFailureTest, MarksTheFailedTaskAndCountsItAtTheEnd)
{
    const bool midway = GetParam();
    for (const char* source : {"/m/60.mpg", "/m/missing.mpg", "/m/90.mpg"})
        addTask({source}, std::string(source) + ".avi");
    if (!midway)
        control->script().convertResults = {true, false, true};
    control->script().lastError = "cannot open /m/missing.mpg: No such file or directory";
    execution.setGoOnAfterFailure(true);

    execution.execute();
    control->raiseDone();
    if (midway)
        control->raiseFailed("cannot open /m/missing.mpg: No such file or directory");
    control->raiseDone();

    EXPECT_EQ(execution.state(), TaskExecution::State::Idle);
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Done);
    EXPECT_EQ(tasks.at(1).status, TaskStatus::Failed);
    EXPECT_EQ(tasks.at(2).status, TaskStatus::Done);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.eventsStartingWith("status[1]").back(), "status[1] Failed");
    const auto failed = std::find(view.log.begin(), view.log.end(), "Failed");
    ASSERT_NE(failed, view.log.end());
    EXPECT_EQ(*(failed + 1), "cannot open /m/missing.mpg: No such file or directory");
    EXPECT_EQ(view.log.back(), "2 tasks done, 1 failed");
    ASSERT_EQ(view.outcomes.size(), 1u);
    EXPECT_EQ(BatchEndNotice::body(view.outcomes[0]), "2 tasks done, 1 failed");
}

INSTANTIATE_TEST_SUITE_P(AtStartAndMidway, GoOnAfterFailureTest, ::testing::Bool());

// An unattended run over a long list whose sources are all gone ends, and counts them all.
TEST_F(TaskExecutionTest, GoingOnPastThousandsOfRefusedStartsEndsTheRun)
{
    constexpr int kTasks = 30000;
    for (int i = 0; i < kTasks; ++i)
        tasks.append({"/gone/" + std::to_string(i) + ".mpg"}, "/out/" + std::to_string(i) + ".avi", "To AVI");
    control->script().convertResult = false;
    execution.setGoOnAfterFailure(true);
    execution.execute();
    EXPECT_EQ(execution.state(), TaskExecution::State::Idle);
    EXPECT_EQ(view.log.back(), "0 tasks done, " + std::to_string(kTasks) + " failed");
    EXPECT_EQ(tasks.at(kTasks - 1).status, TaskStatus::Failed);
}

TEST_F(TaskExecutionTest, ExecuteRunsFailedTasksAgainAndWithoutGoingOnAFailureHalts)
{
    addTask({"/m/60.mpg"}, "/out/60.avi");
    addTask({"/m/30.mpg"}, "/out/30.avi");
    tasks.markFailed(0);
    tasks.markDone(1);
    execution.execute();
    EXPECT_EQ(control->callsStartingWith("Convert"), (Lines{"Convert(/out/60.avi)"}));
    control->raiseFailed("write error");
    EXPECT_EQ(execution.state(), TaskExecution::State::Halted);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "Failed to execute the task.");
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Failed);
}

}  // namespace

namespace {

// Lengths measured on later turns: the share waits for the last length, and a task that ends before its length is known still counts as converted.
TEST_F(TaskExecutionTest, LengthsAreMeasuredLaterAndTheShareWaitsForThem)
{
    addWeightedTasks();
    std::vector<std::function<void()>> later;
    execution.setDeferral([&later](std::function<void()> work) { later.push_back(std::move(work)); });
    execution.execute();
    EXPECT_EQ(control->callsStartingWith("GetDuration").size(), 1u);  // the first task's own clip
    control->raiseProgress(30.0, 60.0);
    control->raiseDone();  // the first task ends unmeasured
    EXPECT_TRUE(view.shares.empty());
    const std::size_t measuredBySetUp = control->callsStartingWith("GetDuration").size();
    while (!later.empty()) {
        auto work = std::move(later.front());
        later.erase(later.begin());
        work();
    }
    EXPECT_EQ(control->callsStartingWith("GetDuration").size(), measuredBySetUp + 3);
    control->raiseProgress(15.0, 30.0);  // 60 + 15 of 180
    EXPECT_EQ(view.shares, (std::vector<int>{41}));
}

// On a clock the test moves, a 60 s and a 30 s source converted at three times their speed: the
// list's time left is close to the real one at a quarter, half and three quarters of the run,
// and the task's too.
TEST_F(TaskExecutionTest, SteadySpeedGivesTheRealTimeLeftOfTaskAndList)
{
    useClock();
    addTask({"/m/60.mpg"}, "/out/60.avi");
    addTask({"/m/30.mpg"}, "/out/30.avi");
    execution.execute();
    const double speed = 3.0;
    const double step = 0.25;
    double checked = 0.25;
    for (const double length : {60.0, 30.0}) {
        const double before = length == 60.0 ? 0.0 : 60.0;
        for (double done = step * speed; done <= length; done += step * speed) {
            now += step;
            control->raiseProgress(done, length);
            const double listDone = before + done;
            if (listDone / 90.0 < 0.05 && done / speed < 5.0) {
                EXPECT_FALSE(timeLeft().list) << "shown before it is stable, at " << done;
                continue;
            }
            ASSERT_TRUE(timeLeft().task && timeLeft().list) << done;
            EXPECT_NEAR(*timeLeft().task, (length - done) / speed, 0.2 * (length - done) / speed + 0.5);
            if (checked < 1.0 && listDone >= checked * 90.0) {
                const double real = (90.0 - listDone) / speed;
                EXPECT_NEAR(*timeLeft().list, real, 0.2 * real) << "at " << checked * 100 << " %";
                checked += 0.25;
            }
        }
        control->raiseDone();
    }
    EXPECT_GT(checked, 0.9);
    EXPECT_FALSE(timeLeft().task || timeLeft().list);  // the run ended
}

// The speed halves midway: the estimate moves to the new time left a few percent at a time,
// never back and forth, and gets there.
TEST_F(TaskExecutionTest, ChangedSpeedMovesTheEstimateByAFewPercentAtATime)
{
    useClock();
    addTask({"/m/60.mpg"}, "/out/60.avi");
    execution.execute();
    std::optional<double> before;
    double done = 0.0;
    for (int event = 1; done < 59.0; ++event) {
        const double speed = done < 20.0 ? 4.0 : 1.0;
        now += 0.25;
        done += 0.25 * speed;
        control->raiseProgress(done, 60.0);
        if (!timeLeft().task)
            continue;
        if (before) {
            const double expected = *before - 0.25;
            EXPECT_LE(std::abs(*timeLeft().task - expected), 0.03 * expected + 0.5) << "event " << event;
        }
        before = timeLeft().task;
    }
    // Near the end only the last second of the source is left.
    ASSERT_TRUE(before);
    EXPECT_LT(*before, 2.0);
}

}  // namespace
