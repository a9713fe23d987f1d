// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Why a file could not be written, in the same words for every command and the window, for
// outputs, pictures, sound files and the task list: a full disk, a used-up quota and a file
// too large for its disk by name, anything else with the system's own text in English
// ("Read-only file system", "Permission denied").
namespace WriteFailureReason {

// The words alone for an errno value: "the disk is full", "Read-only file system".
std::string words(int errorNumber);
// A sentence that names the file as the user named it: "the disk is full while writing X",
// "cannot write X: Permission denied".
std::string text(const std::string& name, int errorNumber);
// Why the path cannot be used when it holds a NUL character (the system would read only the
// name up to it): the path in full, the NUL shown as \0. Empty for any other path.
std::string nulInPath(const std::string& path);

}  // namespace WriteFailureReason
