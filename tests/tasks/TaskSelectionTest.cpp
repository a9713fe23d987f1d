// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tasks/TaskSelection.h"

namespace {

TEST(TaskSelectionTest, AddedRowIsSelectedAndDeletionSelectsTheRowBefore)
{
    TaskSelection selection;
    EXPECT_EQ(selection.row(), 0);
    EXPECT_EQ(selection.rowToShow(0), -1);
    for (std::size_t rows = 1; rows <= 3; ++rows)
        selection.rowAdded(rows);
    EXPECT_EQ(selection.row(), 2);

    selection.selectedRowDeleted();  // the last of three
    EXPECT_EQ(selection.rowToShow(2), 1);

    selection.take(0, 2);
    selection.selectedRowDeleted();  // row 0: the task that moved up is selected
    EXPECT_EQ(selection.rowToShow(1), 0);
    selection.selectedRowDeleted();
    EXPECT_EQ(selection.row(), 0);
    EXPECT_EQ(selection.rowToShow(0), -1);
}

TEST(TaskSelectionTest, KeyboardAndClicksTakeRowsAndAClickOnNoRowKeepsTheLastOne)
{
    TaskSelection selection;
    selection.rowAdded(1);
    selection.rowAdded(2);
    selection.rowAdded(3);
    selection.take(1, 3);
    EXPECT_EQ(selection.row(), 1);
    selection.take(-1, 3);
    EXPECT_EQ(selection.rowToShow(3), 1);
    selection.take(7, 3);
    EXPECT_EQ(selection.row(), 1);
}

}  // namespace
