// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

#include "tasks/IExecutionView.h"

class MainWindow;

// The task execution shown in the main window: the log list, the task list's Status cells, the
// progress bar, the Execute and Output buttons, the preview area and the window's message boxes.
class MainWindowExecutionView : public IExecutionView {
public:
    explicit MainWindowExecutionView(MainWindow& window) : window_(window) {}

    void appendLogLine(const std::string& text) override;
    void replaceProgressLine(const std::string& text) override;
    void scrollLogToEnd() override;
    void setStatusCell(std::size_t row, const std::string& text) override;
    void setProgressBar(int maximum, int position) override;
    void showRunLook(bool running) override;
    void showPreviewLook(bool previewing) override;
    void enableTaskCommands(bool enable) override;
    void enableExecute(bool enable) override;
    void enablePreview(bool enable) override;
    void showPreviewArea(bool shown) override;
    PromptAnswer showMessage(const ExecutionMessage& message) override;
    // While a run converts the title reads "Marvane - 43% of the list", with the time left of
    // the list and of the task once it is known; the progress bar's tooltip tells the same.
    void showRunShare(int percent) override;
    void showTimeLeft(const TimeLeftEstimate::Estimate& left) override;
    // Keeps the list with the task's new status.
    void taskStatusChanged(std::size_t row) override;
    // Tells the desktop how the run ended when the user is looking elsewhere.
    void runEnded(const BatchOutcome& outcome) override;

    // Shows a desktop notice (summary, body); the desktop's notification service unless a test
    // puts another in place.
    std::function<void(const QString&, const QString&)> notify;

private:
    void showShareAndTimeLeft();

    MainWindow& window_;
    int runShare_ = -1;
    TimeLeftEstimate::Estimate left_;
};
