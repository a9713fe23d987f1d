// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwnd/LogList.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>

#include "mainwnd/ListColours.h"

namespace {

// A log line shows its whole text as its tooltip, also after it was rewritten.
class LogLine : public QTreeWidgetItem {
public:
    explicit LogLine(const QString& text) : QTreeWidgetItem(QStringList{text}) {}

    QVariant data(int column, int role) const override
    {
        if (role == Qt::ToolTipRole && !text(column).isEmpty())
            return text(column);
        return QTreeWidgetItem::data(column, role);
    }
};

}  // namespace

LogList::LogList(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QString::number(kId));
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setColumnCount(1);
    header()->setStretchLastSection(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    setColumnWidth(0, kColumnWidth);
    ListColours::Apply(*this);
    // The end stays in view when the sideways bar comes and takes a line's room, which happens
    // on a later turn of the event loop.
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int maximum) {
        if (followEnd_)
            verticalScrollBar()->setValue(maximum);
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { followEnd_ = value == verticalScrollBar()->maximum(); });
}

void LogList::Start()
{
    Append(QStringLiteral("Press \"Add\" button to start..."));
    Append(QString());
    ScrollToEnd();
}

int LogList::Append(const QString& text)
{
    addTopLevelItem(new LogLine(text));
    WidenFor(text);
    ScrollToEnd();
    return LineCount();
}

void LogList::Replace(int row, const QString& text)
{
    if (QTreeWidgetItem* line = topLevelItem(row)) {
        line->setText(0, text);
        WidenFor(text);
    }
}

QString LogList::Line(int row) const
{
    const QTreeWidgetItem* line = topLevelItem(row);
    return line ? line->text(0) : QString();
}

void LogList::ScrollToEnd()
{
    followEnd_ = true;
    scrollToBottom();
}

// The column grows to the widest line so far; it never narrows, so the log does not jump
// sideways while the progress line changes.
void LogList::WidenFor(const QString& text)
{
    const int margins = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    const int wanted = fontMetrics().horizontalAdvance(text) + margins;
    if (wanted > columnWidth(0))
        setColumnWidth(0, std::max(wanted, kColumnWidth));
}

QString LogList::SelectedText() const
{
    QList<int> rows;
    for (QTreeWidgetItem* line : selectedItems())
        rows << indexOfTopLevelItem(line);
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (int row : rows)
        lines << Line(row);
    return lines.join(QLatin1Char('\n'));
}

void LogList::CopySelection() const
{
    if (!selectedItems().isEmpty())
        QApplication::clipboard()->setText(SelectedText());
}

void LogList::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void LogList::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("&Copy"), QKeySequence::Copy, this, &LogList::CopySelection);
    copy->setEnabled(!selectedItems().isEmpty());
    menu.addAction(QStringLiteral("Select &all"), QKeySequence::SelectAll, this, &QAbstractItemView::selectAll);
    menu.exec(event->globalPos());
}
