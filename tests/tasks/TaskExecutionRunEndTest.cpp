#include <gtest/gtest.h>

#include "RecordingExecutionView.h"
#include "ScriptedControl.h"
#include "engine/CDudidEvar.h"
#include "tasks/TaskExecution.h"
#include "tasks/TaskList.h"

namespace {

using Lines = std::vector<std::string>;

// The whole run's share and the end of a run, over three tasks of 60, 30 and 90 s.
class TaskExecutionRunEndTest : public ::testing::Test {
protected:
    TaskExecutionRunEndTest()
    {
        auto owned = std::make_unique<ScriptedControl>();
        control = owned.get();
        control->script().durations = {{"/m/60.mpg", 60.0}, {"/m/30.mpg", 30.0}, {"/m/90.mpg", 90.0}};
        wrapper.Attach(std::move(owned));
        QObject::connect(&wrapper, &CDudidEvar::convertDone, [this] { execution.convertDone(); });
        QObject::connect(&wrapper, &CDudidEvar::convertProgress,
                         [this](double done, double total) { execution.convertProgress(done, total); });
        QObject::connect(&wrapper, &CDudidEvar::convertFailed,
                         [this](const QString& reason) { execution.convertFailed(reason.toStdString()); });
        for (const char* source : {"/m/60.mpg", "/m/30.mpg", "/m/90.mpg"}) {
            const std::size_t i = tasks.append({source}, std::string(source) + ".avi", "To AVI");
            tasks.at(i).settings->format = OutputFormat::Avi;
        }
    }

    CDudidEvar wrapper;
    ScriptedControl* control = nullptr;
    TaskList tasks;
    RecordingExecutionView view;
    TaskExecution execution{wrapper, tasks, view};
};

}  // namespace

TEST_F(TaskExecutionRunEndTest, WholeRunShareIsWeightedByEachTasksLength)
{
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

TEST_F(TaskExecutionRunEndTest, DoneTasksWeighNothingAndAStopSaysHowManyWereDone)
{
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

TEST_F(TaskExecutionRunEndTest, RefusedStartLogsTheControlsReasonAndEndsTheRunOnce)
{
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
    execution.execute();  // leaving the halted run reports nothing more
    EXPECT_EQ(view.outcomes.size(), 1u);
    EXPECT_EQ(view.log.back(), "User Cancelled");
}
