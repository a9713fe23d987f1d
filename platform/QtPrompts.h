// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/IPrompts.h"

class QtPrompts : public IPrompts {
public:
    PromptAnswer messageBox(QWidget* owner, const QString& caption, const QString& text,
                            PromptIcon icon, PromptButtons buttons) override;
    std::optional<QString> openFile(QWidget* owner, const QString& filter) override;
    QStringList openFiles(QWidget* owner, const QString& filter) override;
    std::optional<QString> saveFile(QWidget* owner, const QString& filter) override;
    std::optional<QString> pickFolder(QWidget* owner, const QString& title) override;
    void beep() override;

private:
    // File dialogs open where the user last picked something, at first in the home folder (not
    // in the program's own folder, the process's working folder).
    QString startFolder() const;
    void remember(const QString& folder);

    QString folder_;
};
