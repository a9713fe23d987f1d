#pragma once

#include <string>
#include <vector>

// Whether a task may write its output at a path: the file can be opened for writing (created
// when missing, never truncated; a file the probe created is removed at once), and the path
// is not one of the task's own sources.
namespace OutputPathProbe {

bool isUsable(const std::string& path, const std::vector<std::string>& sources);
// Two paths name one file (the same file when both exist, else the same absolute path).
bool sameFile(const std::string& a, const std::string& b);

}  // namespace OutputPathProbe
