// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// Whether a task may write its output at a path: the path is not one of the task's own sources,
// a file can be created in its folder (where the output is first written under another name),
// and the file itself can be opened for writing (created when missing, never truncated). Every
// file the probe creates is removed at once.
namespace OutputPathProbe {

// Why the path cannot be used, in a few words ("Permission denied", "No such folder",
// "/x/out is a folder", "/x/a.mpg is one of the task's sources"); empty when it can.
std::string refusal(const std::string& path, const std::vector<std::string>& sources);
bool isUsable(const std::string& path, const std::vector<std::string>& sources);
// "/dev/null is not a regular file" when the path (or the file a link there leads to) exists
// and is a device, FIFO, socket or folder: writing an output there would replace it; empty
// otherwise.
std::string notRegularFile(const std::string& path);
// Two paths name one file (the same file when both exist, else the same absolute path).
bool sameFile(const std::string& a, const std::string& b);

}  // namespace OutputPathProbe
