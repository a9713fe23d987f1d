// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "engine/SourceTrack.h"

class CDudidEvar;

// marvane-cli probe FILE: the duration and picture size the control reports, then each track
// with its number, language, title, format and flags, a line each:
// track: sound 2 language=jpn title="Commentary" codec=aac default forced
namespace ProbeCommand {
inline constexpr const char* kUsage = "probe FILE";
std::string trackLine(const SourceTrack& track);
int run(CDudidEvar& control, const std::vector<std::string>& args);
}  // namespace ProbeCommand
