// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/TaskRowText.h"

#include <cstdio>

#include "platform/PlainNumber.h"

namespace TaskRowText {

namespace {

std::string format(const char* pattern, const std::string& text, long number)
{
    const int size = std::snprintf(nullptr, 0, pattern, text.c_str(), number);
    std::string out(static_cast<std::size_t>(size), '\0');
    std::snprintf(out.data(), out.size() + 1, pattern, text.c_str(), number);
    return out;
}

}  // namespace

std::string source(const ConversionTask& task)
{
    if (task.sources.empty())
        return {};
    if (task.isJoin())
        return format("%s...(%ld files)", task.sources.front(), static_cast<long>(task.sources.size()));
    return task.sources.front();
}

std::string status(const ConversionTask& task)
{
    switch (task.status) {
    case TaskStatus::Done: return "Done";
    case TaskStatus::Failed: return "Failed";
    case TaskStatus::Waiting: break;
    }
    return "Waiting";
}

std::string description(const ConversionTask& task)
{
    if (task.isJoin())
        return format("%s (Joint %ld files)", task.description, static_cast<long>(task.sources.size()));
    if (task.isSplit()) {
        const long seconds = task.settings->splitSeconds;
        if (seconds >= 60)
            return format("%s (Split every %ld minutes)", task.description, seconds / 60);
        return format("%s (Split every %ld seconds)", task.description, seconds);
    }
    return task.description;
}

std::string progress(double percent)
{
    return PlainNumber::fixed(percent, 1) + "% Finished";
}

std::string tooltip(const ConversionTask& task)
{
    std::string text;
    for (const std::string& source : task.sources)
        text += "Source: " + source + "\n";
    return text + "Output: " + task.outputPath;
}

std::string taskCount(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " task" : " tasks");
}

}  // namespace TaskRowText
