// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "tasks/IExecutionView.h"

// An execution view for tests: records every output in order, keeps the log's lines as the
// window's log list would hold them, and answers message boxes from a queue (Yes/Ok when empty).
class RecordingExecutionView : public IExecutionView {
public:
    std::vector<std::string> events;
    std::vector<std::string> log{"Press \"Add\" button to start...", ""};
    std::vector<ExecutionMessage> messages;
    std::deque<PromptAnswer> answers;
    std::function<void()> whileAsking;  // runs inside the next message box, as a nested event loop would

    void appendLogLine(const std::string& text) override
    {
        log.push_back(text);
        events.push_back("log+ " + text);
    }
    void replaceProgressLine(const std::string& text) override
    {
        if (log.size() >= 2)
            log[log.size() - 2] = text;
        events.push_back("log~ " + text);
    }
    void scrollLogToEnd() override { events.push_back("scroll"); }
    void setStatusCell(std::size_t row, const std::string& text) override
    {
        events.push_back("status[" + std::to_string(row) + "] " + text);
    }
    void setProgressBar(int maximum, int position) override
    {
        events.push_back("bar " + std::to_string(position) + "/" + std::to_string(maximum));
    }
    void showRunLook(bool running) override { events.push_back(flag("runLook", running)); }
    void showPreviewLook(bool previewing) override { events.push_back(flag("previewLook", previewing)); }
    void enableTaskCommands(bool enable) override { events.push_back(flag("taskCommands", enable)); }
    void enableExecute(bool enable) override { events.push_back(flag("execute", enable)); }
    void enablePreview(bool enable) override { events.push_back(flag("preview", enable)); }
    void showPreviewArea(bool shown) override { events.push_back(flag("previewArea", shown)); }
    PromptAnswer showMessage(const ExecutionMessage& message) override
    {
        messages.push_back(message);
        events.push_back("message " + message.text);
        if (auto nested = std::exchange(whileAsking, nullptr))
            nested();
        if (answers.empty())
            return message.buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
        const PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // The whole run's share and the ends of runs, kept apart from the other outputs.
    void showRunShare(int percent) override { shares.push_back(percent); }
    void showTimeLeft(const TimeLeftEstimate::Estimate& left) override { timesLeft.push_back(left); }
    std::vector<TimeLeftEstimate::Estimate> timesLeft;
    void runEnded(const BatchOutcome& outcome) override { outcomes.push_back(outcome); }
    std::vector<int> shares;
    std::vector<BatchOutcome> outcomes;

    // The recorded outputs that start with the prefix, in order.
    std::vector<std::string> eventsStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& event : events) {
            if (event.rfind(prefix, 0) == 0)
                found.push_back(event);
        }
        return found;
    }

private:
    static std::string flag(const char* name, bool on) { return std::string(name) + (on ? " 1" : " 0"); }
};
