// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedPrompts.h"

#include "platform/Prompts.h"

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
    if (files.empty())
        return std::nullopt;
    const QString f = files.front();
    files.pop_front();
    return f.isEmpty() ? std::nullopt : std::optional<QString>(f);
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
    if (saveFiles.empty())
        return std::nullopt;
    const QString f = saveFiles.front();
    saveFiles.pop_front();
    return f.isEmpty() ? std::nullopt : std::optional<QString>(f);
}

std::optional<QString> ScriptedPrompts::pickFolder(QWidget*, const QString& title)
{
    folderTitles.push_back(title);
    if (folders.empty())
        return std::nullopt;
    const QString f = folders.front();
    folders.pop_front();
    return f.isEmpty() ? std::nullopt : std::optional<QString>(f);
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
