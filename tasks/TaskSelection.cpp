// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/TaskSelection.h"

void TaskSelection::rowAdded(std::size_t rowCount)
{
    if (rowCount > 0)
        row_ = static_cast<int>(rowCount - 1);
}

void TaskSelection::selectedRowDeleted()
{
    if (row_ > 0)
        --row_;
}

void TaskSelection::rowsDeletedFrom(int first)
{
    row_ = first > 0 ? first - 1 : 0;
}

void TaskSelection::take(int row, std::size_t rowCount)
{
    if (row >= 0 && static_cast<std::size_t>(row) < rowCount)
        row_ = row;
}

int TaskSelection::rowToShow(std::size_t rowCount) const
{
    if (rowCount == 0)
        return -1;
    if (static_cast<std::size_t>(row_) >= rowCount)
        return static_cast<int>(rowCount - 1);
    return row_;
}
