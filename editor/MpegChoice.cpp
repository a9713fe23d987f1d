// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/MpegChoice.h"

#include <algorithm>
#include <limits>

#include "editor/PictureSizes.h"

namespace {

constexpr int kFrameRateCount = 5;

}  // namespace

MpegChoice MpegChoice::fromRecord(const TaskSettings& settings)
{
    MpegChoice choice;
    choice.vbr = settings.vbr != 0;
    choice.quality = std::to_string(settings.vbrQuality);
    choice.videoBitRate = std::to_string(settings.videoBitRate);
    const std::int32_t rate = settings.mpegFrameRateIndex;
    choice.frameRatePosition = rate >= 0 && rate < kFrameRateCount ? rate : -1;
    choice.heightPosition = PictureSizes::positionOf(settings.height);
    choice.widthPosition = PictureSizes::positionOf(settings.width);
    choice.videoOnly = settings.videoOnly != 0;
    choice.audioBitRatePosition = settings.audioBitRate == 128 ? 0 : 1;
    choice.originalSize = settings.keepSourceSize != 0;
    return choice;
}

bool MpegChoice::isNtsc(OutputFormat format)
{
    switch (format) {
    case OutputFormat::VcdPal:
    case OutputFormat::SvcdPal:
    case OutputFormat::DvdPal: return false;
    default: return true;
    }
}

std::int32_t MpegChoice::fieldNumber(const std::string& text)
{
    constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        value = std::min<std::int64_t>(value * 10 + (c - '0'), largest);
    }
    return static_cast<std::int32_t>(value);
}

void MpegChoice::writeTo(TaskSettings& settings, OutputKind kind, bool ntsc) const
{
    settings.format = OutputKinds::toFormat(kind, ntsc);
    settings.vbr = vbr ? 1 : 0;
    settings.height = PictureSizes::pixelsAt(heightPosition);
    settings.width = PictureSizes::pixelsAt(widthPosition);
    settings.mpegFrameRateIndex = frameRatePosition;
    settings.vbrQuality = std::min(fieldNumber(quality), kMaxQuality);
    settings.videoOnly = videoOnly ? 1 : 0;
    settings.videoBitRate = std::min(fieldNumber(videoBitRate), kMaxVideoBitRate);
    settings.audioBitRate = audioBitRatePosition == 0 && kind != OutputKind::Vcd ? 128 : 224;
    settings.keepSourceSize = originalSize ? 1 : 0;
}
