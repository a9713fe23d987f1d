// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

#include "platform/IShell.h"

// A shell for tests: records what was opened or launched and answers a set result.
class RecordingShell : public IShell {
public:
    std::vector<QString> opened;
    std::vector<std::pair<QString, QStringList>> launched;
    bool openResult = true;

    bool open(const QString& target) override
    {
        opened.push_back(target);
        return openResult;
    }
    bool launch(const QString& program, const QStringList& arguments) override
    {
        launched.emplace_back(program, arguments);
        return true;
    }
};

// Installs a RecordingShell for the lifetime of the guard.
class ScopedShell {
public:
    ScopedShell();
    ~ScopedShell();
    RecordingShell* operator->() { return shell_; }
    RecordingShell& operator*() { return *shell_; }

private:
    RecordingShell* shell_;
    std::unique_ptr<IShell> previous_;
};
