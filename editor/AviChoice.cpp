#include "editor/AviChoice.h"

#include <algorithm>
#include <cctype>

#include "editor/PictureSizes.h"
#include "engine/CDudidEvar.h"

namespace {

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

template <typename Fetch>
std::vector<std::string> namesOf(Fetch fetch)
{
    std::vector<std::string> names;
    const short count = fetch().GetCount();
    for (short i = 0; i < count; ++i)
        names.push_back(fetch().GetName(i));
    return names;
}

}  // namespace

AviChoice AviChoice::defaults(const std::vector<std::string>& videoNames, const std::vector<std::string>& audioNames)
{
    AviChoice choice;
    choice.videoCompressor = preferredPosition(videoNames, kPreferredVideo);
    choice.audioCompressor = preferredPosition(audioNames, kPreferredAudio);
    return choice;
}

int AviChoice::preferredPosition(const std::vector<std::string>& names, const std::string& match)
{
    if (names.empty())
        return -1;
    int position = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (lowerCase(names[i]).find(match) != std::string::npos)
            position = static_cast<int>(i);
    }
    return position;
}

std::vector<std::string> AviChoice::videoCompressorNames(CDudidEvar& control)
{
    return namesOf([&control] { return control.GetVideoCompressors(); });
}

std::vector<std::string> AviChoice::audioCompressorNames(CDudidEvar& control)
{
    return namesOf([&control] { return control.GetAudioCompressors(); });
}

float AviChoice::frameRateAt(int position)
{
    const int last = static_cast<int>(kFrameRates.size()) - 1;
    return static_cast<float>(kFrameRates[static_cast<std::size_t>(std::clamp(position, 0, last))]);
}

void AviChoice::writeTo(TaskSettings& settings) const
{
    settings.format = OutputFormat::Avi;
    settings.audioCompressor = audioCompressor;
    settings.videoCompressor = videoCompressor;
    if (originalSize) {
        settings.keepSourceSize = 1;
    } else {
        settings.keepSourceSize = 0;
        settings.width = PictureSizes::pixelsAt(widthPosition);
        settings.height = PictureSizes::pixelsAt(heightPosition);
    }
    settings.frameRate = frameRateAt(frameRatePosition);
    settings.videoOnly = videoOnly ? 1 : 0;
}
