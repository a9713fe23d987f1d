// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/OutputNaming.h"

#include <cstdio>

#include "platform/PathNames.h"

namespace OutputNaming {

std::string defaultOutputPath(const std::string& firstSource, OutputKind kind)
{
    return defaultOutputPathIn(PathNames::folderPart(firstSource), firstSource, kind);
}

std::string defaultOutputPathIn(const std::string& folder, const std::string& firstSource, OutputKind kind)
{
    return PathNames::withTrailingSeparator(folder) + PathNames::baseName(firstSource) +
           OutputKinds::suffix(kind);
}

std::string numberedOutputPathIn(const std::string& folder, const std::string& source, OutputKind kind, int n)
{
    return PathNames::withTrailingSeparator(folder) + PathNames::baseName(source) + "_" + std::to_string(n) +
           OutputKinds::suffix(kind);
}

std::string splitPartPath(const std::string& outputPath, std::uint32_t partStart, std::uint32_t splitSeconds)
{
    if (partStart == 0 || splitSeconds == 0)
        return outputPath;
    char number[16];
    std::snprintf(number, sizeof number, "_%03u", partStart / splitSeconds);
    const std::string ext = PathNames::extension(outputPath);
    return outputPath.substr(0, outputPath.size() - ext.size()) + number + ext;
}

// A part's number has three digits, or more without a leading zero, and is never 0.
std::string splitOutputOf(const std::string& partPath)
{
    const std::string ext = PathNames::extension(partPath);
    const std::string stem = partPath.substr(0, partPath.size() - ext.size());
    const std::size_t underscore = stem.rfind('_');
    if (underscore == std::string::npos || stem.find('/', underscore) != std::string::npos)
        return {};
    const std::string number = stem.substr(underscore + 1);
    const bool digits = !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || number.size() < 3 || (number.size() > 3 && number.front() == '0') ||
        number.find_first_not_of('0') == std::string::npos)
        return {};
    return stem.substr(0, underscore) + ext;
}

std::string picturePrefix(const std::string& outputFolder, const std::string& source)
{
    return outputFolder + PathNames::baseNameOrFileName(source);
}

std::string picturePath(const std::string& prefix, int n)
{
    return prefix + "_" + std::to_string(n) + ".bmp";
}

std::string audioOutputPath(const std::string& outputFolder, const std::string& source, bool wma)
{
    return outputFolder + PathNames::baseNameOrFileName(source) + (wma ? ".wma" : ".wav");
}

}  // namespace OutputNaming
