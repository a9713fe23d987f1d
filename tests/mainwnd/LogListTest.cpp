// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's log alone: its end always in view, long lines readable, lines copied.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>

#include "mainwnd/LogList.h"

namespace {

class LogListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        log.setGeometry(0, 0, 345, 180);
        log.Start();
        log.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&log));
    }

    bool lineInView(int row) const
    {
        const QRect shown = log.visualItemRect(log.topLevelItem(row));
        return !shown.isEmpty() && shown.top() >= 0 && shown.bottom() <= log.viewport()->rect().bottom();
    }
    QString tooltipOf(int row) const { return log.topLevelItem(row)->data(0, Qt::ToolTipRole).toString(); }

    LogList log;
};

TEST_F(LogListTest, EveryNewLineIsInViewAlsoAfterAWideLineBringsTheSidewaysBar)
{
    for (int i = 0; i < 40; ++i) {
        log.Append(QStringLiteral("Executing task %1  -  To AVI").arg(i));
        ASSERT_TRUE(lineInView(log.LineCount() - 1)) << i;
    }
    const QString reason = QStringLiteral("/home/user/Videos/2024 summer holiday/IMG_0042 very long name.mov is "
                                          "damaged or not a video file: Invalid data found when processing input");
    log.Append(reason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(log.horizontalScrollBar()->maximum() > 0);
    EXPECT_TRUE(lineInView(log.LineCount() - 1));
    log.Append(QStringLiteral("4 tasks done, 2 failed"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(lineInView(log.LineCount() - 1));
    EXPECT_GE(log.columnWidth(0), log.fontMetrics().horizontalAdvance(reason));
}

TEST_F(LogListTest, LinesShowTheirWholeTextAsTooltipAlsoWhenRewritten)
{
    const int row = log.Append(QStringLiteral("0% Finished")) - 1;
    EXPECT_EQ(tooltipOf(row), "0% Finished");
    const QString wide(300, QLatin1Char('x'));
    log.Replace(row, wide);
    EXPECT_EQ(tooltipOf(row), wide);
    EXPECT_GE(log.columnWidth(0), log.fontMetrics().horizontalAdvance(wide));
    EXPECT_TRUE(tooltipOf(1).isNull());  // the empty line has none
    log.Replace(99, QStringLiteral("no such line"));
    EXPECT_EQ(log.LineCount(), 3);
}

TEST_F(LogListTest, CtrlCCopiesTheSelectedLinesInTheLogsOrder)
{
    log.Append(QStringLiteral("Failed"));
    log.Append(QStringLiteral("/clips/a.mpg has no picture"));
    log.Append(QStringLiteral("User Cancelled"));
    QApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::keyClick(&log, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "before");  // nothing selected, nothing copied

    log.topLevelItem(3)->setSelected(true);
    log.topLevelItem(2)->setSelected(true);
    QTest::keyClick(&log, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Failed\n/clips/a.mpg has no picture");
}

}  // namespace
