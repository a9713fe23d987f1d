// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingShell.h"

#include "platform/Shell.h"

ScopedShell::ScopedShell()
{
    auto shell = std::make_unique<RecordingShell>();
    shell_ = shell.get();
    previous_ = Shell::install(std::move(shell));
}

ScopedShell::~ScopedShell()
{
    Shell::install(std::move(previous_));
}
