// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/AudioItem.h"

#include <set>

#include "engine/CDudidEvar.h"
#include "tasks/OutputNaming.h"

namespace {

constexpr short kWavChannels = 2;
constexpr long kWavSampleRate = 11025;
constexpr short kWavBytesPerSample = 2;
// ".wma" and ".wav"
constexpr std::size_t kExtensionLength = 4;

// "talk_2.wma" for "talk.wma".
std::string numbered(const std::string& path, int n)
{
    const std::size_t dot = path.size() - kExtensionLength;
    return path.substr(0, dot) + "_" + std::to_string(n) + path.substr(dot);
}

}  // namespace

AudioItem AudioItem::forSource(CDudidEvar& control, const std::string& sourcePath)
{
    AudioItem item;
    item.sourcePath = sourcePath;
    item.startTime = 0.0;
    item.endTime = control.GetDuration(sourcePath);
    item.length = item.endTime - item.startTime;
    return item;
}

std::string AudioItem::outputPathFor(const std::string& outputFolder, const std::string& sourcePath,
                                     AudioFormat format)
{
    return OutputNaming::audioOutputPath(outputFolder, sourcePath, format == AudioFormat::Wma);
}

std::vector<std::string> AudioItem::outputPathsFor(const std::string& outputFolder,
                                                   const std::vector<std::string>& sourcePaths, AudioFormat format)
{
    std::vector<std::string> plain;
    for (const std::string& source : sourcePaths)
        plain.push_back(outputPathFor(outputFolder, source, format));
    const std::set<std::string> anyPlain(plain.begin(), plain.end());
    std::set<std::string> taken;
    std::vector<std::string> paths;
    for (const std::string& path : plain) {
        std::string chosen = path;
        for (int n = 2; taken.count(chosen) != 0 || (chosen != path && anyPlain.count(chosen) != 0); ++n)
            chosen = numbered(path, n);
        taken.insert(chosen);
        paths.push_back(chosen);
    }
    return paths;
}

bool AudioItem::start(CDudidEvar& control, AudioFormat format)
{
    control.ClearClips();
    control.AddAudioClip(sourcePath, startTime, endTime);
    if (format == AudioFormat::Wav)
        return control.SaveAudioAsWav(outputPath, kWavChannels, kWavSampleRate, kWavBytesPerSample);
    return control.SaveAudioAsWma(outputPath);
}
