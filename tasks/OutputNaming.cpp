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

std::string splitPartPath(const std::string& outputPath, std::uint32_t partStart, std::uint32_t splitSeconds)
{
    if (partStart == 0 || splitSeconds == 0)
        return outputPath;
    char number[16];
    std::snprintf(number, sizeof number, "_%03u", partStart / splitSeconds);
    const std::string ext = PathNames::extension(outputPath);
    return outputPath.substr(0, outputPath.size() - ext.size()) + number + ext;
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
