// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SourceProblem.h"

#include <filesystem>

namespace SourceProblem {

std::string unreadable(const std::string& file)
{
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (!std::filesystem::exists(status))
        return file + ": no such file";
    if (std::filesystem::is_directory(status))
        return file + " is a folder, not a video file";
    return file + " is damaged or not a video file";
}

}  // namespace SourceProblem
