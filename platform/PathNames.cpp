// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PathNames.h"

namespace PathNames {

namespace {

std::size_t fileNameStart(const std::string& path)
{
    const auto sep = path.rfind(kSeparator);
    return sep == std::string::npos ? 0 : sep + 1;
}

// Position of the last dot of the file name, or npos.
std::size_t extensionDot(const std::string& path)
{
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || dot < fileNameStart(path))
        return std::string::npos;
    return dot;
}

}  // namespace

std::string folderPart(const std::string& path)
{
    return path.substr(0, fileNameStart(path));
}

std::string baseName(const std::string& path)
{
    const auto dot = extensionDot(path);
    if (dot == std::string::npos)
        return {};
    const auto start = fileNameStart(path);
    return path.substr(start, dot - start);
}

std::string baseNameOrFileName(const std::string& path)
{
    return extensionDot(path) == std::string::npos ? fileName(path) : baseName(path);
}

std::string fileName(const std::string& path)
{
    return path.substr(fileNameStart(path));
}

std::string withTrailingSeparator(const std::string& folder)
{
    if (folder.empty() || folder.back() == kSeparator)
        return folder;
    return folder + kSeparator;
}

std::string extension(const std::string& path)
{
    const auto dot = extensionDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

}  // namespace PathNames
