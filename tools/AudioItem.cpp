#include "tools/AudioItem.h"

#include "engine/CDudidEvar.h"
#include "tasks/OutputNaming.h"

namespace {

constexpr short kWavChannels = 2;
constexpr long kWavSampleRate = 11025;
constexpr short kWavBytesPerSample = 2;

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

bool AudioItem::start(CDudidEvar& control, const std::string& outputFolder, AudioFormat format)
{
    control.ClearClips();
    control.AddAudioClip(sourcePath, startTime, endTime);
    outputPath = outputPathFor(outputFolder, sourcePath, format);
    if (format == AudioFormat::Wav)
        return control.SaveAudioAsWav(outputPath, kWavChannels, kWavSampleRate, kWavBytesPerSample);
    return control.SaveAudioAsWma(outputPath);
}
