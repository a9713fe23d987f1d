#pragma once

#include <QTreeWidget>

// The main window's log (control 4097): one column of lines without a header, in the list
// colours, always showing its end.
class LogList : public QTreeWidget {
    Q_OBJECT

public:
    static constexpr int kId = 4097;
    static constexpr int kColumnWidth = 320;

    explicit LogList(QWidget* parent = nullptr);

    // The first two lines: the hint to press "Add", then an empty line.
    void Start();
    // Appends a line at the end; returns the number of lines.
    int Append(const QString& text);
    int LineCount() const { return topLevelItemCount(); }
    QString Line(int row) const;
    void ScrollToEnd();
};
