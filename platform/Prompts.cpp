// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Prompts.h"

#include "platform/QtPrompts.h"

namespace {

std::unique_ptr<IPrompts>& installed()
{
    static std::unique_ptr<IPrompts> prompts;
    return prompts;
}

}  // namespace

IPrompts& Prompts::get()
{
    static QtPrompts qtPrompts;
    auto& current = installed();
    return current ? *current : static_cast<IPrompts&>(qtPrompts);
}

std::unique_ptr<IPrompts> Prompts::install(std::unique_ptr<IPrompts> prompts)
{
    auto previous = std::move(installed());
    installed() = std::move(prompts);
    return previous;
}
