// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tasks/BatchEndNotice.h"

// The plural and the failed task with its reason are covered by the execution tests.
TEST(BatchEndNotice, SingularStoppedAndReasonlessFailure)
{
    EXPECT_EQ(BatchEndNotice::body({1, false, {}, "", ""}), "1 task done");
    EXPECT_EQ(BatchEndNotice::body({0, true, {}, "", ""}), "Stopped, 0 tasks done");
    EXPECT_EQ(BatchEndNotice::body({0, false, 0, "", ""}), "Task 1 failed");
    EXPECT_EQ(BatchEndNotice::body({3, false, {}, "", "", 1}), "3 tasks done, 1 failed");
    EXPECT_EQ(BatchEndNotice::body({1, true, {}, "", "", 2}), "Stopped, 1 task done, 2 failed");
}
