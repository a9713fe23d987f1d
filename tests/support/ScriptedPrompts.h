// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "platform/IPrompts.h"

// Prompts for tests: answers from queues and records every message box shown.
class ScriptedPrompts : public IPrompts {
public:
    struct Shown {
        QString caption;
        QString text;
        PromptIcon icon;
        PromptButtons buttons;
    };

    std::deque<PromptAnswer> answers;                 // next message box answers; Ok/Yes when empty
    std::deque<QString> files;                        // next open-file results; empty text or none: cancel
    std::deque<QStringList> fileLists;                // next multi-file results; none: one file from files
    std::deque<QString> saveFiles;                    // next save-file results; empty text or none: cancel
    std::deque<QString> folders;                      // next folder-picker results; empty text or none: cancel
    std::vector<Shown> shown;
    std::vector<QString> fileFilters;
    std::vector<QString> folderTitles;
    int beeps = 0;

    PromptAnswer messageBox(QWidget* owner, const QString& caption, const QString& text,
                            PromptIcon icon, PromptButtons buttons) override;
    std::optional<QString> openFile(QWidget* owner, const QString& filter) override;
    QStringList openFiles(QWidget* owner, const QString& filter) override;
    std::optional<QString> saveFile(QWidget* owner, const QString& filter) override;
    std::optional<QString> pickFolder(QWidget* owner, const QString& title) override;
    void beep() override { ++beeps; }
};

// Installs a ScriptedPrompts for the lifetime of the guard and puts the previous one back.
class ScopedPrompts {
public:
    ScopedPrompts();
    ~ScopedPrompts();
    ScriptedPrompts& operator*() { return *prompts_; }
    ScriptedPrompts* operator->() { return prompts_; }

private:
    ScriptedPrompts* prompts_;
    std::unique_ptr<IPrompts> previous_;
};
