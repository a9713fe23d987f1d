// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwnd/TaskListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <iterator>

#include "mainwnd/ListColours.h"

namespace {

struct ColumnSpec {
    const char* title;
    int twentieths;
};

const ColumnSpec columns[] = {{"Source", 7}, {"Status", 5}, {"Description", 6}, {"Output", 15}};

}  // namespace

TaskListView::TaskListView(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TaskListView::SetUp()
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setColumnCount(static_cast<int>(std::size(columns)));
    QStringList titles;
    for (const ColumnSpec& c : columns)
        titles << QString::fromLatin1(c.title);
    setHeaderLabels(titles);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int unit = contentsRect().width() / 20;
    for (int i = 0; i < columnCount(); ++i)
        setColumnWidth(i, columns[i].twentieths * unit);
    setTextElideMode(Qt::ElideMiddle);
    ListColours::Apply(*this);
}

void TaskListView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    const QModelIndex hit = indexAt(event->position().toPoint());
    emit rowClicked(hit.isValid() ? hit.row() : -1);
}

void TaskListView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit deletePressed();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
