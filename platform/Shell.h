// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "platform/IShell.h"

class QWidget;

class Shell {
public:
    static IShell& get();
    static std::unique_ptr<IShell> install(std::unique_ptr<IShell> shell);

    // Opens the document, page or address; when nothing opens it, tells the user in a message
    // box which one could not be opened, and why when that is known. False when it was not opened.
    static bool openOrTell(QWidget* owner, const QString& caption, const QString& target);
};

class QtShell : public IShell {
public:
    bool open(const QString& target) override;
    bool launch(const QString& program, const QStringList& arguments) override;
};
