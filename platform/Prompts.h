// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "platform/IPrompts.h"

// The process's prompts: Qt's dialogs unless another implementation is installed.
class Prompts {
public:
    static IPrompts& get();
    // Puts an implementation in place and returns the one it replaces (null for the default).
    static std::unique_ptr<IPrompts> install(std::unique_ptr<IPrompts> prompts);
};
