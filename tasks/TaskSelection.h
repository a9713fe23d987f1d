// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// The selected task of the task list view, which Delete, Edit and Preview act on. It follows the
// row the view shows selected: a row taken by a click or by the keyboard becomes the selected
// task, and when the view shows no row selected while it has rows, the view is to show this
// one selected again.
class TaskSelection {
public:
    int row() const { return row_; }

    // A row was added at the end of the view: it is the selected one.
    void rowAdded(std::size_t rowCount);
    // The selected row was deleted; the one before it (or the new first row) is selected.
    void selectedRowDeleted();
    // Rows from this one on (and maybe others after it) were deleted: the row before it (or the
    // new first row) is selected.
    void rowsDeletedFrom(int first);
    // The view's selection moved to the row; a row outside the view (a click on no row, a
    // cleared selection) changes nothing.
    void take(int row, std::size_t rowCount);
    // The row the view should show selected, -1 when the view has no rows.
    int rowToShow(std::size_t rowCount) const;

private:
    int row_ = 0;
};
