// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CommaDecimalLocale.h"
#include "tasks/TaskRowText.h"

namespace {

ConversionTask makeTask(std::vector<std::string> sources, std::int32_t split, std::int32_t seconds)
{
    ConversionTask task;
    task.sources = std::move(sources);
    task.description = "To AVI";
    task.settings = std::make_unique<TaskSettings>();
    task.settings->split = split;
    task.settings->splitSeconds = seconds;
    return task;
}

}  // namespace

TEST(TaskRowText, SplitIntervalUsesMinutesFromSixtySeconds)
{
    EXPECT_EQ(TaskRowText::description(makeTask({"/a"}, 0, 90)), "To AVI");  // not split
    EXPECT_EQ(TaskRowText::description(makeTask({"/a"}, 1, 90)), "To AVI (Split every 1 minutes)");  // whole minutes
    EXPECT_EQ(TaskRowText::description(makeTask({"/a"}, 1, 45)), "To AVI (Split every 45 seconds)");
    EXPECT_EQ(TaskRowText::description(makeTask({"/a"}, 1, 5400)), "To AVI (Split every 90 minutes)");
}

TEST(TaskRowText, JoinShowsFileCountWhateverSplitHolds)
{
    const ConversionTask task = makeTask({"/v/a.avi", "/v/b.avi", "/v/c.avi"}, 1, 60);
    EXPECT_EQ(TaskRowText::source(task), "/v/a.avi...(3 files)");
    EXPECT_EQ(TaskRowText::description(task), "To AVI (Joint 3 files)");
}

TEST(TaskRowText, TooltipHoldsEverySourceAndTheOutputInFull)
{
    ConversionTask task = makeTask({"/v/a.avi", "/v/b.avi"}, 0, 0);
    task.outputPath = "/out/a_output.avi";
    EXPECT_EQ(TaskRowText::tooltip(task), "Source: /v/a.avi\nSource: /v/b.avi\nOutput: /out/a_output.avi");
}

// The progress text reads the same whatever the user's locale.
TEST(TaskRowText, ProgressHasADotInACommaDecimalLocale)
{
    EXPECT_EQ(TaskRowText::progress(50.0), "50.0% Finished");
    CommaDecimalLocale comma;
    if (!comma.active())
        GTEST_SKIP() << comma.whyNot();
    EXPECT_EQ(TaskRowText::progress(50.0), "50.0% Finished");
    EXPECT_EQ(TaskRowText::progress(99.96), "100.0% Finished");
}
