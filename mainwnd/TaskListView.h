// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeWidget>

// The main window's task list (control 1000): a report-style list with one row per task, in
// task-list order, with the columns Source, Status, Description and Output.
class TaskListView : public QTreeWidget {
    Q_OBJECT

public:
    enum Column { SourceColumn = 0, StatusColumn = 1, DescriptionColumn = 2, OutputColumn = 3 };

    explicit TaskListView(QWidget* parent = nullptr);

    // Columns sized in twentieths of the list's inner width (7, 5, 6 and 15 of them, so the
    // list scrolls sideways), full-row selection, the list colours, and long paths cut in their
    // middle so the file names stay in sight.
    void SetUp();

signals:
    // A left or right click on the list: the row it hit, or -1 when it hit no row.
    void rowClicked(int row);
    // The Delete key was pressed in the list.
    void deletePressed();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
