// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class CDudidEvar;

// marvane-cli audio --wma|--wav -o FOLDER SOURCE...: the sound track of each source to its own
// file in the folder, one after another, named as the audio tool names them.
namespace AudioCommand {
inline constexpr const char* kUsage = "audio --wma|--wav -o FOLDER SOURCE...";
int run(CDudidEvar& control, const std::vector<std::string>& args);
}  // namespace AudioCommand
