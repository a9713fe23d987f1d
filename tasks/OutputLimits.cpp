// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/OutputLimits.h"

#include <algorithm>
#include <array>
#include <locale>
#include <sstream>

#include "tasks/MpegFrameRates.h"

namespace {

// The sound bit rates (kbit/s) of MPEG layer II at 44.1 kHz and of AC-3.
constexpr std::array<int, 14> kMp2Kbps{32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr std::array<int, 19> kAc3Kbps{32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                                       192, 224, 256, 320, 384, 448, 512, 576, 640};
constexpr int kVcdVideoKbps = 1150;
constexpr int kSvcdVideoKbps = 2516;
constexpr int kDvdVideoKbps = 9000;
constexpr int kCustomMpegVideoKbps = 10000;
constexpr int kLowestMp4SoundKbps = 96;
constexpr int kHighestMp4SoundKbps = 256;

const char* kindName(OutputFormat format)
{
    switch (format) {
    case OutputFormat::VcdPal:
    case OutputFormat::VcdNtsc: return "VCD";
    case OutputFormat::SvcdPal:
    case OutputFormat::SvcdNtsc: return "SVCD";
    case OutputFormat::DvdPal:
    case OutputFormat::DvdNtsc: return "DVD";
    case OutputFormat::MpegCustom: return "custom MPEG";
    case OutputFormat::Avi: return "AVI";
    case OutputFormat::Wmv: return "WMV";
    case OutputFormat::Mp4: return "MP4";
    }
    return "this kind of output";
}

// A number as a person writes it, whatever the locale: 25, 23.976, 1e-09.
std::string plain(double value)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text.precision(6);
    text << value;
    return text.str();
}

template <std::size_t N>
std::string listed(const std::array<int, N>& values)
{
    std::string text;
    for (std::size_t i = 0; i < N; ++i)
        text += (i == 0 ? "" : i + 1 == N ? " or " : ", ") + std::to_string(values[i]);
    return text;
}

std::optional<OutputLimits::Refusal> sideRefusal(const char* field, const char* kind, std::int32_t pixels, int largest,
                                                 const char* measure)
{
    if (pixels == 0 || (pixels >= OutputLimits::kSmallestSide && pixels <= largest))
        return std::nullopt;
    return OutputLimits::Refusal{field, std::string(kind) + " pictures are " + std::to_string(OutputLimits::kSmallestSide) +
                                            " to " + std::to_string(largest) + " pixels " + measure + ", not " +
                                            std::to_string(pixels)};
}

}  // namespace

std::optional<OutputLimits::Refusal> OutputLimits::check(const TaskSettings& settings)
{
    for (const auto& part : {&OutputLimits::checkSize, &OutputLimits::checkFrameRate,
                             &OutputLimits::checkVideoBitRate, &OutputLimits::checkSoundBitRate}) {
        if (std::optional<Refusal> refusal = part(settings))
            return refusal;
    }
    return std::nullopt;
}

// The size is the task's own only where the kind takes one and the source's is not kept; 0
// stands for the source's.
std::optional<OutputLimits::Refusal> OutputLimits::checkSize(const TaskSettings& s)
{
    if (s.keepSourceSize != 0)
        return std::nullopt;
    const char* kind = kindName(s.format);
    if (s.format == OutputFormat::Mp4)
        return sideRefusal("height", kind, s.height, kLargestMp4Height, "high");
    if (s.format != OutputFormat::Avi && s.format != OutputFormat::MpegCustom)
        return std::nullopt;
    const int largest = s.format == OutputFormat::Avi ? kLargestAviSide : kLargestMpegSide;
    if (std::optional<Refusal> wide = sideRefusal("width", kind, s.width, largest, "wide"))
        return wide;
    return sideRefusal("height", kind, s.height, largest, "high");
}

std::optional<OutputLimits::Refusal> OutputLimits::checkFrameRate(const TaskSettings& s)
{
    if (s.format == OutputFormat::MpegCustom) {
        const auto count = std::int32_t(MpegFrameRates::kRates.size());
        if (s.mpegFrameRateIndex >= 0 && s.mpegFrameRateIndex < count)
            return std::nullopt;
        return Refusal{"mpegFrameRateIndex", "custom MPEG has 5 frame rates (23.976, 24, 25, 29.97 and 30), numbered 0 to " +
                                                 std::to_string(count - 1) + ", not " +
                                                 std::to_string(s.mpegFrameRateIndex)};
    }
    if (s.format != OutputFormat::Avi && s.format != OutputFormat::Mp4)
        return std::nullopt;
    const double fps = s.frameRate;
    if (fps == 0.0 || (fps >= kLowestFps && fps <= kHighestFps))
        return std::nullopt;
    return Refusal{"frameRate", std::string(kindName(s.format)) + " frame rates go from " + plain(kLowestFps) + " to " +
                                    plain(kHighestFps) + " frames a second, not " + plain(fps)};
}

// MPEG outputs at a constant bit rate take the task's; VBR ones their quality.
std::optional<OutputLimits::Refusal> OutputLimits::checkVideoBitRate(const TaskSettings& s)
{
    if (!isMpegFormat(s.format) || s.vbr != 0 || s.videoBitRate == 0)
        return std::nullopt;
    const char* kind = kindName(s.format);
    const std::string given = ", not " + std::to_string(s.videoBitRate);
    if (s.format == OutputFormat::VcdPal || s.format == OutputFormat::VcdNtsc) {
        if (s.videoBitRate == kVcdVideoKbps)
            return std::nullopt;
        return Refusal{"videoBitRate", "VCD video is " + std::to_string(kVcdVideoKbps) + " kbit/s" + given};
    }
    const int largest = s.format == OutputFormat::MpegCustom ? kCustomMpegVideoKbps
                        : s.format == OutputFormat::DvdPal || s.format == OutputFormat::DvdNtsc ? kDvdVideoKbps
                                                                                                  : kSvcdVideoKbps;
    if (s.videoBitRate <= largest)
        return std::nullopt;
    return Refusal{"videoBitRate", std::string(kind) + " video carries at most " + std::to_string(largest) + " kbit/s" +
                                       given};
}

// VCD sound is fixed; DVD's is AC-3, the other MPEG kinds' MPEG layer II, each at its own
// rates; MP4's AAC between two bounds.
std::optional<OutputLimits::Refusal> OutputLimits::checkSoundBitRate(const TaskSettings& s)
{
    const std::int32_t kbps = s.audioBitRate;
    if (s.videoOnly != 0 || kbps == 0 || s.format == OutputFormat::VcdPal || s.format == OutputFormat::VcdNtsc)
        return std::nullopt;
    const std::string given = " kbit/s, not " + std::to_string(kbps);
    if (s.format == OutputFormat::Mp4) {
        if (kbps >= kLowestMp4SoundKbps && kbps <= kHighestMp4SoundKbps)
            return std::nullopt;
        return Refusal{"audioBitRate", "MP4 sound goes from " + std::to_string(kLowestMp4SoundKbps) + " to " +
                                           std::to_string(kHighestMp4SoundKbps) + given};
    }
    if (!isMpegFormat(s.format) || s.vbr != 0)
        return std::nullopt;
    const bool dvd = s.format == OutputFormat::DvdPal || s.format == OutputFormat::DvdNtsc;
    const bool known = dvd ? std::find(kAc3Kbps.begin(), kAc3Kbps.end(), kbps) != kAc3Kbps.end()
                           : std::find(kMp2Kbps.begin(), kMp2Kbps.end(), kbps) != kMp2Kbps.end();
    if (known)
        return std::nullopt;
    return Refusal{"audioBitRate", std::string(kindName(s.format)) + " sound is " +
                                       (dvd ? listed(kAc3Kbps) : listed(kMp2Kbps)) + given};
}
