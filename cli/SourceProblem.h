// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What is wrong with a source the control cannot read, as far as the command can tell.
namespace SourceProblem {

// "<file>: no such file", "<file> is a folder", or "<file> is damaged or not a video file".
std::string unreadable(const std::string& file);

}  // namespace SourceProblem
