// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Interrupt.h"

#include <atomic>
#include <csignal>

#include <unistd.h>

namespace Interrupt {

namespace {

std::atomic<bool> flag{false};
std::atomic<bool> endAtOnce{false};

extern "C" void onSignal(int)
{
    if (endAtOnce.load())
        ::_exit(130);
    flag.store(true);
}

}  // namespace

void install()
{
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void setEndAtOnce(bool on)
{
    endAtOnce.store(on);
    if (on && flag.load())
        ::_exit(130);
}

bool requested()
{
    return flag.load();
}

}  // namespace Interrupt
