// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>

// How a run ended: success, or the reason it could not be completed.
struct RunOutcome {
    bool ok = false;
    std::string reason;

    static RunOutcome success() { return {true, {}}; }
    static RunOutcome failure(std::string why) { return {false, std::move(why)}; }
};
