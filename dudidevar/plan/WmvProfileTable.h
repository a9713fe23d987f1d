// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

// A Windows Media system profile: the bit rates and limits of one kind of WMV/ASF output.
struct WmvProfile {
    const char* name;
    int videoKbps;  // 0: sound only
    int audioKbps;
    int audioRate;
    int audioChannels;
    int maxWidth;   // 0: no limit
    int maxHeight;
    double maxFps;  // 0: no limit
};

namespace WmvProfileTable {

// The profiles in their fixed order; a task stores an index into this list.
const std::vector<WmvProfile>& profiles();
// The profile at an index; out-of-range indices give the first one.
const WmvProfile& at(int index);

}  // namespace WmvProfileTable
