// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwnd/MainWindowExecutionView.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QTreeWidgetItem>

#include "mainwnd/MainWindow.h"
#include "platform/DesktopNotifier.h"
#include "platform/ProductTitle.h"
#include "platform/Prompts.h"

namespace {

constexpr int kExecuteStrip = 154;
constexpr int kExecuteRunningStrip = 167;
constexpr int kOutputStrip = 153;
constexpr int kOutputPreviewingStrip = 165;
constexpr int kStripFrames = 4;

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

}  // namespace

void MainWindowExecutionView::appendLogLine(const std::string& line)
{
    window_.logList.Append(text(line));
}

void MainWindowExecutionView::replaceProgressLine(const std::string& line)
{
    window_.logList.Replace(window_.logList.LineCount() - 2, text(line));
}

void MainWindowExecutionView::scrollLogToEnd()
{
    window_.logList.ScrollToEnd();
}

void MainWindowExecutionView::setStatusCell(std::size_t row, const std::string& cell)
{
    if (QTreeWidgetItem* item = window_.taskList.topLevelItem(static_cast<int>(row)))
        item->setText(TaskListView::StatusColumn, text(cell));
}

void MainWindowExecutionView::setProgressBar(int maximum, int position)
{
    window_.progress.setRange(0, maximum);
    window_.progress.setValue(position);
}

void MainWindowExecutionView::showRunLook(bool running)
{
    window_.execute.LoadStateBitmap(running ? kExecuteRunningStrip : kExecuteStrip, kStripFrames, true);
    window_.execute.SetToolTipText(running ? QStringLiteral("Stop") : QStringLiteral("Execute all tasks"), true);
}

void MainWindowExecutionView::showPreviewLook(bool previewing)
{
    window_.output.LoadStateBitmap(previewing ? kOutputPreviewingStrip : kOutputStrip, kStripFrames, true);
    window_.output.SetToolTipText(previewing ? QStringLiteral("Stop") : QStringLiteral("Preview output"), true);
}

void MainWindowExecutionView::enableTaskCommands(bool enable)
{
    window_.EnableTaskCommands(enable);
}

void MainWindowExecutionView::enableExecute(bool enable)
{
    window_.execute.setEnabled(enable);
}

void MainWindowExecutionView::enablePreview(bool enable)
{
    window_.output.setEnabled(enable);
}

void MainWindowExecutionView::showPreviewArea(bool shown)
{
    window_.videoArea.setVisible(shown);
    if (QWidget* control = window_.control.Widget()) {
        control->setVisible(shown);
        if (shown)
            control->raise();
    }
    window_.logList.setVisible(!shown);
}

PromptAnswer MainWindowExecutionView::showMessage(const ExecutionMessage& message)
{
    const QString caption =
        message.caption == MessageCaption::ProductTitle ? ProductTitle : QCoreApplication::applicationName();
    return Prompts::get().messageBox(&window_, caption, text(message.text), message.icon, message.buttons);
}

void MainWindowExecutionView::showRunShare(int percent)
{
    runShare_ = percent;
    showShareAndTimeLeft();
}

void MainWindowExecutionView::showTimeLeft(const TimeLeftEstimate::Estimate& left)
{
    left_ = left;
    showShareAndTimeLeft();
}

void MainWindowExecutionView::showShareAndTimeLeft()
{
    const auto leftText = [](const std::optional<double>& seconds) {
        return seconds ? text(TimeLeftEstimate::text(*seconds)) : QString();
    };
    const QString listLeft = leftText(left_.list);
    const QString taskLeft = leftText(left_.task);
    QString title = ProductTitle;
    if (runShare_ >= 0) {
        title += QStringLiteral(" - %1% of the list").arg(runShare_);
        if (!listLeft.isEmpty())
            title += QStringLiteral(", ") + listLeft;
        if (!taskLeft.isEmpty())
            title += QStringLiteral(" (this task: %1)").arg(taskLeft);
    }
    window_.setWindowTitle(title);

    QProgressBar& bar = window_.progress;
    QStringList tip;
    if (runShare_ >= 0 || !taskLeft.isEmpty()) {
        const int taskShare = bar.maximum() > 0 ? static_cast<int>(100LL * bar.value() / bar.maximum()) : 0;
        tip << QStringLiteral("This task: %1% done").arg(taskShare) + (taskLeft.isEmpty() ? QString() : ", " + taskLeft);
    }
    if (runShare_ >= 0)
        tip << QStringLiteral("Whole list: %1% done").arg(runShare_) + (listLeft.isEmpty() ? QString() : ", " + listLeft);
    bar.setToolTip(tip.join(QLatin1Char('\n')));
}

void MainWindowExecutionView::taskStatusChanged(std::size_t)
{
    window_.KeepTaskList();
}

void MainWindowExecutionView::runEnded(const BatchOutcome& outcome)
{
    // A run halted at a failed task waits for the user; the log says what to do.
    if (outcome.failedTask)
        window_.logList.Append(QStringLiteral(
            "The run is halted: press Stop to end it, or turn on Tools > Go on after a failed task."));
    if (!window_.isMinimized() && window_.isActiveWindow())
        return;
    const QString summary = text(BatchEndNotice::summary());
    const QString body = text(BatchEndNotice::body(outcome));
    if (notify)
        notify(summary, body);
    else
        DesktopNotifier().notify(summary, body);
}
