// SPDX-License-Identifier: GPL-3.0-or-later
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

AviChoice AviChoice::fromRecord(const TaskSettings& settings, int videoCount, int audioCount)
{
    const auto listed = [](std::int32_t position, int count) { return position >= 0 && position < count ? position : -1; };
    const auto sizePosition = [&settings](std::int32_t pixels, int fallback) {
        const int position = PictureSizes::positionOf(pixels);
        return position < 0 && settings.keepSourceSize != 0 ? fallback : position;
    };
    AviChoice choice;
    choice.videoCompressor = listed(settings.videoCompressor, videoCount);
    choice.audioCompressor = listed(settings.audioCompressor, audioCount);
    choice.widthPosition = sizePosition(settings.width, kDefaultWidthPosition);
    choice.heightPosition = sizePosition(settings.height, kDefaultHeightPosition);
    choice.frameRatePosition = frameRatePositionOf(settings.frameRate);
    choice.originalSize = settings.keepSourceSize != 0;
    choice.videoOnly = settings.videoOnly != 0;
    return choice;
}

int AviChoice::frameRatePositionOf(float rate)
{
    const auto found = std::find_if(kFrameRates.begin(), kFrameRates.end(),
                                    [rate](int listed) { return static_cast<float>(listed) == rate; });
    return found == kFrameRates.end() ? -1 : static_cast<int>(found - kFrameRates.begin());
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
