// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedPrompts.h"

#include "platform/Prompts.h"

namespace {

// The next queued path; none when the queue is empty or the path is empty (the dialog cancelled).
std::optional<QString> next(std::deque<QString>& queue)
{
    if (queue.empty())
        return std::nullopt;
    const QString path = queue.front();
    queue.pop_front();
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

}  // namespace

PromptAnswer ScriptedPrompts::messageBox(QWidget*, const QString& caption, const QString& text,
                                         PromptIcon icon, PromptButtons buttons)
{
    shown.push_back({caption, text, icon, buttons});
    if (!answers.empty()) {
        const PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
}

std::optional<QString> ScriptedPrompts::openFile(QWidget*, const QString& filter)
{
    fileFilters.push_back(filter);
    return next(files);
}

QStringList ScriptedPrompts::openFiles(QWidget* owner, const QString& filter)
{
    if (fileLists.empty())
        return IPrompts::openFiles(owner, filter);
    fileFilters.push_back(filter);
    const QStringList picked = fileLists.front();
    fileLists.pop_front();
    return picked;
}

std::optional<QString> ScriptedPrompts::saveFile(QWidget*, const QString& filter)
{
    fileFilters.push_back(filter);
    return next(saveFiles);
}

std::optional<QString> ScriptedPrompts::pickFolder(QWidget*, const QString& title)
{
    folderTitles.push_back(title);
    return next(folders);
}

ScopedPrompts::ScopedPrompts()
{
    auto prompts = std::make_unique<ScriptedPrompts>();
    prompts_ = prompts.get();
    previous_ = Prompts::install(std::move(prompts));
}

ScopedPrompts::~ScopedPrompts()
{
    Prompts::install(std::move(previous_));
}
