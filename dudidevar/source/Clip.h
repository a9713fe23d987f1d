// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <string>

// One span of a file in the control's clip list; times in seconds from the file's start.
struct Clip {
    std::string path;
    double start = 0.0;
    double end = 0.0;
    bool keepSize = false;

    double length() const { return end > start ? end - start : 0.0; }
    // How far a source may fall short of its span before the run counts as failed: durations
    // in file headers are estimates; a missing tail of this size is filled in.
    double shortfallAllowed() const { return std::max(1.0, length() * 0.05); }
};
