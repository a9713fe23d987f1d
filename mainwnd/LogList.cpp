#include "mainwnd/LogList.h"

#include "mainwnd/ListColours.h"

LogList::LogList(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QString::number(kId));
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setColumnCount(1);
    setColumnWidth(0, kColumnWidth);
    ListColours::Apply(*this);
}

void LogList::Start()
{
    Append(QStringLiteral("Press \"Add\" button to start..."));
    Append(QString());
    ScrollToEnd();
}

int LogList::Append(const QString& text)
{
    addTopLevelItem(new QTreeWidgetItem(QStringList{text}));
    return LineCount();
}

QString LogList::Line(int row) const
{
    const QTreeWidgetItem* line = topLevelItem(row);
    return line ? line->text(0) : QString();
}

void LogList::ScrollToEnd()
{
    scrollToBottom();
}
