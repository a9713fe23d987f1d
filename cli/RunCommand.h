// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class CDudidEvar;

// marvane-cli run: runs the tasks of a saved task list as the main window runs them. Exit
// status 0 when every task it took is done, 1 when some are not, 2 when the list cannot be read
// or the options are wrong (130 on an interruption, given by main).
namespace RunCommand {
inline constexpr const char* kUsage =
    "run [--keep-going] [--update] [--task N | --shard I/N] LIST";
int run(CDudidEvar& control, const std::vector<std::string>& args);
}  // namespace RunCommand
