// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliExecutionView.h"

#include <cstdio>
#include <unistd.h>

CliExecutionView::CliExecutionView() : terminal_(::isatty(STDOUT_FILENO) != 0) {}

void CliExecutionView::endProgressLine()
{
    if (progressOpen_)
        std::printf("\n");
    progressOpen_ = false;
}

void CliExecutionView::appendLogLine(const std::string& text)
{
    if (text.empty())
        return;
    if (text == "0% Finished") {
        if (terminal_) {
            std::printf("%s", text.c_str());
            progressOpen_ = true;
        }
    } else {
        endProgressLine();
        std::printf("%s\n", text.c_str());
    }
    std::fflush(stdout);
}

void CliExecutionView::replaceProgressLine(const std::string& text)
{
    if (terminal_) {
        std::printf("\r%-72s", progressLine(text).c_str());
        progressOpen_ = true;
    } else if (text == "Done") {
        std::printf("%s\n", text.c_str());
    }
    if (text == "Done")
        endProgressLine();
    std::fflush(stdout);
}

std::string CliExecutionView::progressLine(const std::string& text) const
{
    if (text == "Done")
        return text;
    std::string line = text;
    if (left_.task)
        line += ", " + TimeLeftEstimate::text(*left_.task);
    if (showWholeRun && runShare_ >= 0) {
        line += "  (whole run " + std::to_string(runShare_) + "%";
        if (left_.list)
            line += ", " + TimeLeftEstimate::text(*left_.list);
        line += ")";
    }
    return line;
}

void CliExecutionView::showRunLook(bool running)
{
    if (!running)
        rest();
}

PromptAnswer CliExecutionView::showMessage(const ExecutionMessage& message)
{
    if (message.buttons == PromptButtons::YesNo)
        return PromptAnswer::Yes;
    endProgressLine();
    std::fprintf(stderr, "%s\n", message.text.c_str());
    rest();
    return PromptAnswer::Ok;
}

void CliExecutionView::runEnded(const BatchOutcome& outcome)
{
    if (outcome.failedTask && !outcome.failureReason.empty())
        std::fprintf(stderr, "%s\n", outcome.failureReason.c_str());
}

void CliExecutionView::rest()
{
    if (onRest)
        onRest();
}
