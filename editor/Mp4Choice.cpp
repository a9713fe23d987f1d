// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Mp4Choice.h"

#include <algorithm>

#include "engine/CDudidEvar.h"

namespace {

template <typename List>
bool listed(const List& list, int value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

std::string joined(const int* values, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += (i == 0 ? "" : i + 1 == count ? " or " : ", ") + std::to_string(values[i]);
    return text;
}

bool validCodec(int codec)
{
    return codec >= 0 && codec < int(Mp4Choice::kCodecNames.size());
}

}  // namespace

std::vector<int> Mp4Choice::availableCodecs(CDudidEvar& control)
{
    std::vector<int> codecs;
    for (int codec = 0; codec < int(kCodecNames.size()); ++codec) {
        if (control.HasVideoCodec(short(codec)))
            codecs.push_back(codec);
    }
    return codecs;
}

Mp4Choice Mp4Choice::defaults(const std::vector<int>& available)
{
    Mp4Choice choice;
    if (!available.empty() && validCodec(available.front()))
        choice.codec = available.front();
    choice.quality = kDefaultQualities[std::size_t(choice.codec)];
    return choice;
}

Mp4Choice Mp4Choice::fromSettings(const TaskSettings& s)
{
    Mp4Choice choice;
    choice.codec = validCodec(s.videoCodec) ? s.videoCodec : 0;
    const int maxQuality = kMaxQualities[std::size_t(choice.codec)];
    choice.quality = s.quality > 0 && s.quality <= maxQuality ? s.quality : kDefaultQualities[std::size_t(choice.codec)];
    choice.speed = s.speed >= 0 && s.speed < int(kSpeedNames.size()) ? s.speed : kBalanced;
    choice.height = s.keepSourceSize == 0 && listed(kHeights, s.height) ? s.height : 0;
    choice.frameRate = listed(kFrameRates, int(s.frameRate)) && s.frameRate == float(int(s.frameRate))
                           ? int(s.frameRate)
                           : 0;
    choice.audioKbps = s.audioBitRate >= kAudioKbps.front() && s.audioBitRate <= kAudioKbps.back() ? s.audioBitRate
                                                                                                   : kDefaultAudioKbps;
    choice.videoOnly = s.videoOnly == 1;
    return choice;
}

bool Mp4Choice::check(std::string* error) const
{
    if (!validCodec(codec))
        *error = "no such MP4 codec";
    else if (quality < 1 || quality > kMaxQualities[std::size_t(codec)])
        *error = std::string("the quality of ") + kCodecNames[std::size_t(codec)] + " goes from 1 to " +
                 std::to_string(kMaxQualities[std::size_t(codec)]);
    else if (speed < 0 || speed >= int(kSpeedNames.size()))
        *error = "no such speed";
    else if (height != 0 && !listed(kHeights, height))
        *error = "the height is one of " + joined(kHeights.data(), kHeights.size());
    else if (frameRate != 0 && !listed(kFrameRates, frameRate))
        *error = "the frame rate is one of " + joined(kFrameRates.data(), kFrameRates.size());
    else if (audioKbps < kAudioKbps.front() || audioKbps > kAudioKbps.back())
        *error = "the sound bit rate goes from 96 to 256 kbit/s";
    else
        return true;
    return false;
}

void Mp4Choice::writeTo(TaskSettings& s) const
{
    s.format = OutputFormat::Mp4;
    s.videoCodec = codec;
    s.quality = quality;
    s.speed = speed;
    s.keepSourceSize = height == 0 ? 1 : 0;
    s.width = 0;
    s.height = height;
    s.frameRate = float(frameRate);
    s.audioBitRate = audioKbps;
    s.videoOnly = videoOnly ? 1 : 0;
}
