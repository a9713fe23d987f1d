// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

enum class PromptIcon { None, Information, Exclamation, Question };
enum class PromptButtons { Ok, YesNo, OkCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// Message boxes, pickers and the beep: everything that waits for the user outside our own
// windows. The real one shows Qt's dialogs; tests install a scripted one.
class IPrompts {
public:
    virtual ~IPrompts() = default;
    virtual PromptAnswer messageBox(QWidget* owner, const QString& caption, const QString& text,
                                    PromptIcon icon, PromptButtons buttons) = 0;
    // One existing file; the filter is in the "description|patterns|...||" form.
    virtual std::optional<QString> openFile(QWidget* owner, const QString& filter) = 0;
    // Any number of existing files, in the order the picker gives them; empty when cancelled.
    // Without a picker of its own a prompt offers one file.
    virtual QStringList openFiles(QWidget* owner, const QString& filter)
    {
        const std::optional<QString> one = openFile(owner, filter);
        return one && !one->isEmpty() ? QStringList{*one} : QStringList{};
    }
    // A file to write (it may exist; the dialog asks before replacing one).
    virtual std::optional<QString> saveFile(QWidget* owner, const QString& filter) = 0;
    // A folder of the file system; the path ends without a separator unless it is the root.
    virtual std::optional<QString> pickFolder(QWidget* owner, const QString& title) = 0;
    virtual void beep() = 0;
};
