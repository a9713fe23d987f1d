#pragma once

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

private:
    MainWindow& window_;
};
