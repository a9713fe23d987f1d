// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeWidget>

class QMenu;

// The main window's log (control 4097): one column of lines without a header, in the list
// colours, always showing its end. A line wider than the log widens the column, so the log
// scrolls sideways, and shows its whole text as a tooltip. Selected lines are copied with
// Ctrl+C or the context menu.
class LogList : public QTreeWidget {
    Q_OBJECT

public:
    static constexpr int kId = 4097;
    static constexpr int kColumnWidth = 320;

    explicit LogList(QWidget* parent = nullptr);

    // The first two lines: the hint to press "Add", then an empty line.
    void Start();
    // Appends a line at the end and shows it; returns the number of lines.
    int Append(const QString& text);
    // Rewrites the line at the row; nothing when there is no such line.
    void Replace(int row, const QString& text);
    int LineCount() const { return topLevelItemCount(); }
    QString Line(int row) const;
    void ScrollToEnd();
    // The selected lines, in the log's order, one a line.
    QString SelectedText() const;
    // Puts the selected lines on the clipboard.
    void CopySelection() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void WidenFor(const QString& text);

    // Set while the log shows its end: it goes on showing it when its room changes.
    bool followEnd_ = true;
};
