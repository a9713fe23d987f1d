// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class CDudidEvar;

// marvane-cli probe FILE: the duration and picture size the control reports.
namespace ProbeCommand {
inline constexpr const char* kUsage = "probe FILE";
int run(CDudidEvar& control, const std::vector<std::string>& args);
}  // namespace ProbeCommand
