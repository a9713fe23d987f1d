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
};
