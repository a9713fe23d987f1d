// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ConvertSettings.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "cli/ConvertOptions.h"
#include "editor/AviChoice.h"
#include "editor/Mp4Choice.h"
#include "editor/MpegPresetState.h"
#include "editor/WmvProfileChoices.h"
#include "tasks/MpegFrameRates.h"
#include "tasks/OutputLimits.h"

namespace ConvertSettings {

namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// A compressor the user named: its exact name, else the first name containing the text in
// any letter case.
bool findCompressor(const std::vector<std::string>& names, const std::string& name, int* position)
{
    auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end()) {
        it = std::find_if(names.begin(), names.end(),
                          [&](const std::string& n) { return lower(n).find(lower(name)) != std::string::npos; });
    }
    if (it == names.end())
        return false;
    *position = int(it - names.begin());
    return true;
}

bool fillAvi(CDudidEvar& control, const ConvertOptions& o, TaskSettings& s, std::string* error)
{
    const std::vector<std::string> videoNames = AviChoice::videoCompressorNames(control);
    const std::vector<std::string> audioNames = AviChoice::audioCompressorNames(control);
    AviChoice choice = AviChoice::defaults(videoNames, audioNames);
    if (!o.videoCompressor.empty() && !findCompressor(videoNames, o.videoCompressor, &choice.videoCompressor))
        return *error = "no video compressor named " + o.videoCompressor, false;
    if (!o.audioCompressor.empty() && !findCompressor(audioNames, o.audioCompressor, &choice.audioCompressor))
        return *error = "no audio compressor named " + o.audioCompressor, false;
    choice.originalSize = o.originalSize;
    choice.videoOnly = o.videoOnly;
    choice.writeTo(s);
    // The control takes any size and rate; the panel's lists offer only some of them.
    if (!o.originalSize && o.width > 0) {
        s.width = o.width;
        s.height = o.height;
    }
    if (o.fps)
        s.frameRate = float(*o.fps);
    return true;
}

bool checkMpegOptions(const ConvertOptions& o, std::string* error)
{
    const bool disc = o.kind == OutputKind::Vcd || o.kind == OutputKind::Svcd;
    if (disc && (o.vbrQuality || o.videoKbps))
        *error = "VCD and SVCD have a fixed bit rate";
    else if (o.kind != OutputKind::MpegCustom && (o.width > 0 || o.fps))
        *error = "the disc formats have a fixed size and frame rate";
    else if (o.originalSize)
        *error = "MPEG output does not keep the source size";
    else
        return true;
    return false;
}

bool fillMpeg(const ConvertOptions& o, TaskSettings& s, std::string* error)
{
    if (!checkMpegOptions(o, error))
        return false;
    MpegChoice choice = MpegPresetState::presetChoice(o.kind, o.ntsc);
    choice.videoOnly = o.videoOnly;
    if (o.vbrQuality) {
        choice.vbr = true;
        choice.quality = std::to_string(*o.vbrQuality);
    }
    if (o.videoKbps)
        choice.videoBitRate = std::to_string(*o.videoKbps);
    if (o.audioKbps)
        choice.audioBitRatePosition = *o.audioKbps == 128 ? 0 : 1;
    if (o.fps) {
        const auto& rates = MpegFrameRates::kRates;
        const auto it = std::find_if(rates.begin(), rates.end(), [&](float r) { return std::fabs(r - *o.fps) < 0.01; });
        if (it == rates.end())
            return *error = "MPEG frame rates are 23.976, 24, 25, 29.97 and 30", false;
        choice.frameRatePosition = int(it - rates.begin());
    }
    choice.writeTo(s, o.kind, o.ntsc);
    // A custom size off the panel's lists is kept as given; the control takes it.
    if (o.width > 0) {
        s.width = o.width;
        s.height = o.height;
    }
    return true;
}

// A profile the user named by the control's index, unless the panel would not list it.
bool isListedProfile(const WmvProfileChoices& choices, int controlIndex)
{
    for (int position = 0; position < choices.count(); ++position) {
        if (choices.controlIndex(position) == controlIndex)
            return true;
    }
    return false;
}

bool fillWmv(CDudidEvar& control, const ConvertOptions& o, TaskSettings& s, std::string* error)
{
    const WmvProfileChoices choices(WmvProfileChoices::profileNames(control));
    s.format = OutputFormat::Wmv;
    s.videoOnly = o.videoOnly ? 1 : 0;
    s.wmvProfile = choices.controlIndex(0);
    if (o.profile) {
        if (!isListedProfile(choices, *o.profile))
            return *error = "no video profile " + std::to_string(*o.profile), false;
        s.wmvProfile = *o.profile;
    }
    if (s.wmvProfile < 0)
        return *error = "the control offers no video profile", false;
    return true;
}

// A word of the companion's, as its position in the list.
template <typename Words>
bool findWord(const Words& words, const std::string& word, int* position)
{
    const auto it = std::find(words.begin(), words.end(), lower(word));
    if (it == words.end())
        return false;
    *position = int(it - words.begin());
    return true;
}

bool fillMp4(CDudidEvar& control, const ConvertOptions& o, TaskSettings& s, std::string* error)
{
    const std::vector<int> available = Mp4Choice::availableCodecs(control);
    Mp4Choice choice = Mp4Choice::defaults(available);
    if (!o.codec.empty()) {
        if (!findWord(Mp4Choice::kCodecWords, o.codec, &choice.codec))
            return *error = "--codec takes h264, h265 or av1", false;
        choice.quality = Mp4Choice::kDefaultQualities[std::size_t(choice.codec)];
    }
    if (std::find(available.begin(), available.end(), choice.codec) == available.end())
        return *error = std::string("the media libraries have no ") +
                        Mp4Choice::kCodecNames[std::size_t(choice.codec)] + " encoder", false;
    if (!o.speed.empty() && !findWord(Mp4Choice::kSpeedWords, o.speed, &choice.speed))
        return *error = "--speed takes faster, balanced or smaller", false;
    choice.quality = o.quality.value_or(choice.quality);
    choice.height = o.originalSize ? 0 : o.mp4Height.value_or(0);
    choice.frameRate = o.rate.value_or(0);
    choice.audioKbps = o.audioRate.value_or(choice.audioKbps);
    choice.videoOnly = o.videoOnly;
    if (!choice.check(error))
        return false;
    choice.writeTo(s);
    return true;
}

bool fillKind(CDudidEvar& control, const ConvertOptions& options, TaskSettings& settings, std::string* error)
{
    if (options.kind == OutputKind::Avi)
        return fillAvi(control, options, settings, error);
    if (options.kind == OutputKind::Wmv)
        return fillWmv(control, options, settings, error);
    if (options.kind == OutputKind::Mp4)
        return fillMp4(control, options, settings, error);
    return fillMpeg(options, settings, error);
}

}  // namespace

bool fill(CDudidEvar& control, const ConvertOptions& options, TaskSettings& settings, std::string* error)
{
    settings.split = options.splitSeconds > 0 && options.sources.size() == 1 ? 1 : 0;
    settings.splitSeconds = options.splitSeconds;
    if (!fillKind(control, options, settings, error))
        return false;
    if (const std::optional<OutputLimits::Refusal> refusal = OutputLimits::check(settings))
        return *error = refusal->reason, false;
    return true;
}

}  // namespace ConvertSettings
