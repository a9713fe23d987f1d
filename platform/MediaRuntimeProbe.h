// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// Checks that the media libraries hold every decoder, encoder, muxer and filter the conversion
// control uses. The lists here are the control's; keep them in step with it.
namespace MediaRuntimeProbe {

struct Requirement {
    enum class Kind { Decoder, Encoder, Muxer, Demuxer, Filter };
    Kind kind;
    const char* name;
};

const std::vector<Requirement>& requirements();
// "encoder libxvid", ...: empty when the runtime is complete.
std::vector<std::string> missingComponents();

}  // namespace MediaRuntimeProbe
