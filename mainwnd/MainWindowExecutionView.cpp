#include "mainwnd/MainWindowExecutionView.h"

#include <QCoreApplication>
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
    if (QTreeWidgetItem* progressLine = window_.logList.topLevelItem(window_.logList.LineCount() - 2))
        progressLine->setText(0, text(line));
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
    const QString& title = ProductTitle;
    window_.setWindowTitle(percent < 0 ? title : QStringLiteral("%1 - %2%").arg(title).arg(percent));
}

void MainWindowExecutionView::taskStatusChanged(std::size_t)
{
    window_.KeepTaskList();
}

void MainWindowExecutionView::runEnded(const BatchOutcome& outcome)
{
    if (!window_.isMinimized() && window_.isActiveWindow())
        return;
    const QString summary = text(BatchEndNotice::summary());
    const QString body = text(BatchEndNotice::body(outcome));
    if (notify)
        notify(summary, body);
    else
        DesktopNotifier().notify(summary, body);
}
