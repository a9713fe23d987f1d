// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

#include "platform/IPrompts.h"
#include "tasks/BatchEndNotice.h"
#include "tasks/TimeLeftEstimate.h"

// Which title a message box of the execution carries.
enum class MessageCaption {
    ProductTitle,     // "Marvane", the main window's own boxes
    ApplicationName,  // the executable's base name, boxes of the application object
};

struct ExecutionMessage {
    std::string text;
    MessageCaption caption;
    PromptIcon icon;
    PromptButtons buttons;
};

// What the task execution shows. The main window draws it; the command-line companion prints it.
class IExecutionView {
public:
    virtual ~IExecutionView() = default;

    virtual void appendLogLine(const std::string& text) = 0;
    // Replaces the log's progress line, the second line from its end.
    virtual void replaceProgressLine(const std::string& text) = 0;
    virtual void scrollLogToEnd() = 0;
    virtual void setStatusCell(std::size_t row, const std::string& text) = 0;
    // The progress bar runs from 0 to maximum.
    virtual void setProgressBar(int maximum, int position) = 0;
    // Execute's strip and tooltip: the Stop look while a run is active.
    virtual void showRunLook(bool running) = 0;
    // Preview's strip and tooltip: the Stop look while a preview plays.
    virtual void showPreviewLook(bool previewing) = 0;
    // Add, Delete, Edit and Tools together.
    virtual void enableTaskCommands(bool enable) = 0;
    virtual void enableExecute(bool enable) = 0;
    virtual void enablePreview(bool enable) = 0;
    // The preview area with the control in place of the log list, or the log list again.
    virtual void showPreviewArea(bool shown) = 0;
    virtual PromptAnswer showMessage(const ExecutionMessage& message) = 0;
    // The share of the whole run's source time converted so far, 0 to 100; -1 when no
    // conversion of the run is under way.
    virtual void showRunShare(int percent) = 0;
    // Time left of the task and of the whole list while a run converts; nothing known when the
    // run ends.
    virtual void showTimeLeft(const TimeLeftEstimate::Estimate& /*left*/) {}
    // Task row's status changed (done, or failed while the run goes on): the list is worth keeping.
    virtual void taskStatusChanged(std::size_t /*row*/) {}
    // The run of the task list ended: every task done, a task failed, or the user stopped it.
    virtual void runEnded(const BatchOutcome& outcome) = 0;
};

// Where the control's events go while the audio extraction tool uses the control.
class IExtractionEvents {
public:
    virtual ~IExtractionEvents() = default;
    virtual void extractionDone() = 0;
    virtual void extractionProgress(int position, int length) = 0;
    virtual void extractionFailed(const std::string& reason) = 0;
};
