// SPDX-License-Identifier: GPL-3.0-or-later
// The time left of a run, measured on a clock the test moves, as the task execution reports it.
#include <gtest/gtest.h>

#include <cmath>

#include "RecordingExecutionView.h"
#include "ScriptedControl.h"
#include "engine/CDudidEvar.h"
#include "tasks/TaskExecution.h"
#include "tasks/TaskList.h"

namespace {

class TimeLeftEstimateTest : public ::testing::Test {
protected:
    TimeLeftEstimateTest()
    {
        auto owned = std::make_unique<ScriptedControl>();
        control = owned.get();
        control->script().durations = {{"/m/60.mpg", 60.0}, {"/m/30.mpg", 30.0}};
        wrapper.Attach(std::move(owned));
        QObject::connect(&wrapper, &CDudidEvar::convertDone, [this] { execution.convertDone(); });
        QObject::connect(&wrapper, &CDudidEvar::convertProgress,
                         [this](double done, double total) { execution.convertProgress(done, total); });
        execution.setClock([this] { return now; });
    }

    void addTask(const std::string& source)
    {
        const std::size_t i = tasks.append({source}, source + ".avi", "To AVI");
        tasks.at(i).settings->format = OutputFormat::Avi;
    }

    // The last estimate reported.
    const TimeLeftEstimate::Estimate& left() const { return view.timesLeft.back(); }

    double now = 100.0;
    ScriptedControl* control = nullptr;
    CDudidEvar wrapper;
    TaskList tasks;
    RecordingExecutionView view;
    TaskExecution execution{wrapper, tasks, view};
};

// A 60 s and a 30 s source converted at three times their speed: the list's time left is
// close to the real one at a quarter, half and three quarters of the run, and the task's too.
TEST_F(TimeLeftEstimateTest, SteadySpeedGivesTheRealTimeLeftOfTaskAndList)
{
    addTask("/m/60.mpg");
    addTask("/m/30.mpg");
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
                EXPECT_FALSE(left().list) << "shown before it is stable, at " << done;
                continue;
            }
            ASSERT_TRUE(left().task && left().list) << done;
            EXPECT_NEAR(*left().task, (length - done) / speed, 0.2 * (length - done) / speed + 0.5);
            if (checked < 1.0 && listDone >= checked * 90.0) {
                const double real = (90.0 - listDone) / speed;
                EXPECT_NEAR(*left().list, real, 0.2 * real) << "at " << checked * 100 << " %";
                checked += 0.25;
            }
        }
        control->raiseDone();
    }
    EXPECT_GT(checked, 0.9);
    EXPECT_FALSE(left().task || left().list);  // the run ended
}

// The speed halves midway: the estimate moves to the new time left a few percent at a time,
// never back and forth, and gets there.
TEST_F(TimeLeftEstimateTest, ChangedSpeedMovesTheEstimateByAFewPercentAtATime)
{
    addTask("/m/60.mpg");
    execution.execute();
    std::optional<double> before;
    double done = 0.0;
    for (int event = 1; done < 59.0; ++event) {
        const double speed = done < 20.0 ? 4.0 : 1.0;
        now += 0.25;
        done += 0.25 * speed;
        control->raiseProgress(done, 60.0);
        if (!left().task)
            continue;
        if (before) {
            const double expected = *before - 0.25;
            EXPECT_LE(std::abs(*left().task - expected), 0.03 * expected + 0.5) << "event " << event;
        }
        before = left().task;
    }
    // Near the end only the last second of the source is left.
    ASSERT_TRUE(before);
    EXPECT_LT(*before, 2.0);
}

}  // namespace
