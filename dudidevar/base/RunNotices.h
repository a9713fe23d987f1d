// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What a run tells the user without failing (a source of a join that lacks the chosen track):
// one line on standard error, read by marvane-cli's user and kept in the program's log.
namespace RunNotices {

void say(const std::string& line);

}  // namespace RunNotices
