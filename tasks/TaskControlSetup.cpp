// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/TaskControlSetup.h"

#include "engine/CDudidEvar.h"
#include "tasks/MpegFrameRates.h"
#include "tasks/OutputNaming.h"

double TaskControlSetup::setUp(ConversionTask& task)
{
    refusal_.clear();
    TaskSettings& settings = *task.settings;
    const std::string& first = task.sources.front();
    const short sourceWidth = control_.GetVideoWidth(first);
    const short sourceHeight = control_.GetVideoHeight(first);
    if (settings.format == OutputFormat::Wmv)
        settings.keepSourceSize = 1;
    if (settings.keepSourceSize == 1) {
        control_.SetOutputWidth(sourceWidth);
        control_.SetOutputHeight(sourceHeight);
    } else {
        control_.SetOutputWidth(static_cast<short>(settings.width));
        control_.SetOutputHeight(static_cast<short>(settings.height));
    }
    setFormatProperties(settings);
    control_.SetSoundTrack(task.soundTrack);
    control_.SetSubtitles(task.subtitles);
    control_.SetSoftSubtitles(task.softSubtitles && settings.format == OutputFormat::Mp4);
    return task.isSplit() ? control_.GetDuration(first) : 0.0;
}

void TaskControlSetup::setFormatProperties(const TaskSettings& settings)
{
    const long code = static_cast<long>(settings.format);
    if (isMpegFormat(settings.format)) {
        control_.SetOutputFormat(code);
        if (settings.format == OutputFormat::MpegCustom)
            control_.SetFrameRate(MpegFrameRates::rateAt(settings.mpegFrameRateIndex));
        if (settings.vbr == 1) {
            control_.SetVbr(true);
            control_.SetVbrQuality(settings.vbrQuality);
        } else {
            control_.SetVbr(false);
            control_.SetVideoBitRate(settings.videoBitRate);
            control_.SetAudioBitRate(settings.audioBitRate);
        }
    } else if (settings.format == OutputFormat::Avi) {
        control_.SetOutputFormat(code);
        control_.SetFrameRate(settings.frameRate);
        control_.SetUseVideoCompressor(true);
        control_.SetVideoCompressor(static_cast<short>(settings.videoCompressor));
        control_.SetUseAudioCompressor(true);
        control_.SetAudioCompressor(static_cast<short>(settings.audioCompressor));
    } else if (settings.format == OutputFormat::Wmv) {
        control_.SetOutputFormat(code);
        control_.SetWmvProfile(static_cast<short>(settings.wmvProfile));
    } else if (settings.format == OutputFormat::Mp4) {
        control_.SetOutputFormat(code);
        control_.SetVideoCodec(static_cast<short>(settings.videoCodec));
        control_.SetQuality(settings.quality);
        control_.SetSpeed(static_cast<short>(settings.speed));
        control_.SetFrameRate(settings.frameRate);
        control_.SetAudioBitRate(settings.audioBitRate);
    }
}

bool TaskControlSetup::addWholeTaskClips(const ConversionTask& task)
{
    const TaskSettings& settings = *task.settings;
    const auto keepSize = static_cast<short>(settings.keepSourceSize & 0xffff);
    control_.ClearClips();
    for (const std::string& source : task.sources) {
        const double duration = control_.GetDuration(source);
        if (!control_.AddVideoClip(source, 0.0, duration, keepSize))
            return refuseSource(source);
        if (settings.videoOnly != 1 && !control_.AddAudioClip(source, 0.0, duration))
            return refuseSource(source);
    }
    return true;
}

bool TaskControlSetup::convertSplitPart(const ConversionTask& task, std::int32_t partStart, double sourceDuration)
{
    const TaskSettings& settings = *task.settings;
    const std::string& source = task.sources.front();
    const auto keepSize = static_cast<short>(settings.keepSourceSize & 0xffff);
    control_.ClearClips();
    const double start = partStart;
    const double end = double(partStart) + settings.splitSeconds;
    const double clipEnd = end <= sourceDuration ? end : sourceDuration;
    if (!control_.AddVideoClip(source, start, clipEnd, keepSize) || !(clipEnd > start))
        return refuseSource(source);
    if (settings.videoOnly != 1 && !control_.AddAudioClip(source, start, clipEnd))
        return refuseSource(source);
    const std::string partPath = OutputNaming::splitPartPath(task.outputPath, static_cast<std::uint32_t>(partStart),
                                                             static_cast<std::uint32_t>(settings.splitSeconds));
    return convertTo(partPath);
}

bool TaskControlSetup::convertTo(const std::string& outputPath)
{
    return control_.Convert(outputPath);
}

// The control's own words when they name the source, else a reason that does.
bool TaskControlSetup::refuseSource(const std::string& source)
{
    const std::string why = control_.GetLastError();
    if (why.find(source) != std::string::npos)
        refusal_ = why;
    else
        refusal_ = "cannot read the source " + source + (why.empty() ? "" : ": " + why);
    return false;
}

std::string TaskControlSetup::failureReason() const
{
    return refusal_.empty() ? control_.GetLastError() : refusal_;
}
