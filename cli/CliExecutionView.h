// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "tasks/IExecutionView.h"

// The task execution shown on a terminal: log lines on stdout (the progress line rewritten in
// place when stdout is a terminal), messages on stderr. A question to stop is answered Yes, as
// the user asked for it with Ctrl-C.
class CliExecutionView : public IExecutionView {
public:
    CliExecutionView();

    // Called when the run has come to rest: back to idle, or halted by a failure.
    std::function<void()> onRest;

    void appendLogLine(const std::string& text) override;
    void replaceProgressLine(const std::string& text) override;
    void scrollLogToEnd() override {}
    void setStatusCell(std::size_t, const std::string&) override {}
    void setProgressBar(int, int) override {}
    void showRunLook(bool running) override;
    void showPreviewLook(bool) override {}
    void enableTaskCommands(bool) override {}
    void enableExecute(bool) override {}
    void enablePreview(bool) override {}
    void showPreviewArea(bool) override {}
    PromptAnswer showMessage(const ExecutionMessage& message) override;
    void showRunShare(int percent) override { runShare_ = percent; }
    void showTimeLeft(const TimeLeftEstimate::Estimate& left) override { left_ = left; }
    // The progress line as the terminal shows it: the task's progress and time left, with the
    // whole run's share and time left when the run has several tasks.
    std::string progressLine(const std::string& text) const;
    // A run halted by a failure tells why on stderr too, below "Failed to execute the task.".
    void runEnded(const BatchOutcome& outcome) override;

    // With several tasks, the whole run's share is shown beside each task's own progress.
    bool showWholeRun = false;

private:
    void endProgressLine();
    void rest();

    bool terminal_;
    bool progressOpen_ = false;
    int runShare_ = -1;
    TimeLeftEstimate::Estimate left_;
};
