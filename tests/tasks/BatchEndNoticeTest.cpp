#include <gtest/gtest.h>

#include "tasks/BatchEndNotice.h"

TEST(BatchEndNotice, SaysHowTheRunEnded)
{
    EXPECT_EQ(BatchEndNotice::body({3, false, {}, "", ""}), "3 tasks done");
    EXPECT_EQ(BatchEndNotice::body({1, false, {}, "", ""}), "1 task done");
    EXPECT_EQ(BatchEndNotice::body({1, true, {}, "", ""}), "Stopped, 1 task done");
    EXPECT_EQ(BatchEndNotice::body({0, true, {}, "", ""}), "Stopped, 0 tasks done");
}

TEST(BatchEndNotice, NamesTheFailedTaskCountedFromOneWithItsReason)
{
    EXPECT_EQ(BatchEndNotice::body({1, false, 1, "To DVD", "the disk is full while writing /out/x.mpg"}),
              "Task 2 failed (To DVD): the disk is full while writing /out/x.mpg");
    EXPECT_EQ(BatchEndNotice::body({0, false, 0, "", ""}), "Task 1 failed");
}
