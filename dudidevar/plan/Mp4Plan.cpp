// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/plan/Mp4Plan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace Mp4Plan {

namespace {

// The source as it is shown: a picture turned a quarter swaps its sides and its pixel shape.
SourceShape upright(SourceShape shape)
{
    if (shape.rotation == 90 || shape.rotation == 270) {
        std::swap(shape.width, shape.height);
        if (shape.sampleAspect.num > 0 && shape.sampleAspect.den > 0)
            std::swap(shape.sampleAspect.num, shape.sampleAspect.den);
        shape.rotation = 0;
    }
    return shape;
}

struct CodecRow {
    const char* encoder;
    int defaultQuality;
    int maxQuality;
    std::array<const char*, 3> presets;  // faster, balanced, smaller file
};

constexpr std::array<CodecRow, 3> kCodecs{{
    {"libx264", 22, 51, {"faster", "medium", "slow"}},
    {"libx265", 26, 51, {"faster", "medium", "slow"}},
    {"libsvtav1", 32, 63, {"10", "8", "6"}},
}};

// Limits of one H.264 level: frame size and rate in macroblocks, and the High profile's
// maximum bit rate and coded picture buffer (kbit/s, kbit).
struct H264Level {
    int level;
    int maxFrameMbs;
    int maxMbPerSecond;
    int maxKbps;
    int maxCpbKbits;
};

constexpr std::array<H264Level, 16> kH264Levels{{
    {10, 99, 1485, 80, 219},
    {11, 396, 3000, 240, 625},
    {12, 396, 6000, 480, 1250},
    {13, 396, 11880, 960, 2500},
    {20, 396, 11880, 2500, 2500},
    {21, 792, 19800, 5000, 5000},
    {22, 1620, 20250, 5000, 5000},
    {30, 1620, 40500, 12500, 12500},
    {31, 3600, 108000, 17500, 17500},
    {32, 5120, 216000, 25000, 25000},
    {40, 8192, 245760, 25000, 31250},
    {41, 8192, 245760, 62500, 78125},
    {42, 8704, 522240, 62500, 78125},
    {50, 22080, 589824, 168750, 168750},
    {51, 36864, 983040, 300000, 300000},
    {52, 36864, 2073600, 300000, 300000},
}};

constexpr std::array<AVRational, 8> kCommonRates{
    {{24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1}, {50, 1}, {60000, 1001}, {60, 1}}};
constexpr int kAudioRate = 48000;
constexpr long kDefaultAudioKbps = 160;
constexpr double kMaxRate = 120.0;

int even(int value)
{
    return std::max(2, value & ~1);
}

bool validRate(AVRational rate)
{
    return rate.num > 0 && rate.den > 0 && av_q2d(rate) <= kMaxRate;
}

// A measured average rate as the common rate it stands for, else to a thousandth.
AVRational tidyRate(AVRational rate)
{
    const double fps = av_q2d(rate);
    for (const AVRational common : kCommonRates) {
        if (std::fabs(fps / av_q2d(common) - 1.0) < 0.005)
            return common;
    }
    AVRational tidy{};
    av_reduce(&tidy.num, &tidy.den, std::llround(fps * 1000), 1000, 1000000);
    return tidy;
}

const H264Level* levelFor(int width, int height, AVRational rate)
{
    const int mbWidth = (width + 15) / 16;
    const int mbHeight = (height + 15) / 16;
    const int frameMbs = mbWidth * mbHeight;
    const double mbPerSecond = frameMbs * av_q2d(rate);
    for (const H264Level& level : kH264Levels) {
        // A side may be no longer than the square root of eight frames of the level.
        const double maxSide = std::sqrt(8.0 * level.maxFrameMbs);
        if (frameMbs <= level.maxFrameMbs && mbPerSecond <= level.maxMbPerSecond + 0.5 && mbWidth <= maxSide &&
            mbHeight <= maxSide)
            return &level;
    }
    return nullptr;
}

void planH264(PicturePlan& v, const CodecRow& row, int speed)
{
    v.options = {{"preset", row.presets[std::size_t(speed)]}, {"profile", "high"}};
    // The buffer limits of the level keep the stream within it however busy the picture is.
    if (const H264Level* level = levelFor(v.width, v.height, v.frameRate)) {
        v.level = level->level;
        v.maxRate = std::int64_t(level->maxKbps) * 1000;
        v.bufferSize = level->maxCpbKbits * 1000;
    }
}

bool planVideo(const ControlProperties& p, const SourceShape& source, bool keepSize, PicturePlan& v,
               std::string* error)
{
    if (p.videoCodec < 0 || p.videoCodec >= int(kCodecs.size())) {
        *error = "no such MP4 video codec " + std::to_string(p.videoCodec);
        return false;
    }
    const CodecRow& row = kCodecs[std::size_t(p.videoCodec)];
    const PictureSize size = pictureSize(source, p.outputHeight, keepSize);
    v.encoder = row.encoder;
    v.width = size.width;
    v.height = size.height;
    v.sampleAspect = size.sampleAspect;
    v.frameRate = frameRate(source, p.frameRate);
    v.pixelFormat = AV_PIX_FMT_YUV420P;
    v.crf = p.quality > 0 ? int(std::min<long>(p.quality, row.maxQuality)) : row.defaultQuality;
    const int speed = std::clamp<int>(p.speed, 0, 2);
    switch (p.videoCodec) {
    case H264:
        planH264(v, row, speed);
        break;
    case H265:
        v.codecTag = "hvc1";  // the tag Apple's players ask for
        v.options = {{"preset", row.presets[std::size_t(speed)]}, {"x265-params", "log-level=error"}};
        break;
    default:
        v.options = {{"preset", row.presets[std::size_t(speed)]}};
        break;
    }
    return true;
}

}  // namespace

bool encoderAvailable(int codec)
{
    const char* name = encoderName(codec);
    return name && avcodec_find_encoder_by_name(name) != nullptr;
}

const char* encoderName(int codec)
{
    return codec >= 0 && codec < int(kCodecs.size()) ? kCodecs[std::size_t(codec)].encoder : nullptr;
}

int defaultQuality(int codec)
{
    return codec >= 0 && codec < int(kCodecs.size()) ? kCodecs[std::size_t(codec)].defaultQuality : 0;
}

PictureSize pictureSize(const SourceShape& stored, int height, bool originalSize)
{
    const SourceShape source = upright(stored);
    const AVRational sar = source.sampleAspect.num > 0 && source.sampleAspect.den > 0 ? source.sampleAspect
                                                                                       : AVRational{1, 1};
    PictureSize size;
    if (originalSize || height <= 0 || height >= source.height) {
        size.width = even(source.width);
        size.height = even(source.height);
        // Evening out an odd side is too small a change to give the picture a shape flag.
        const double shape = av_q2d(sar) * source.width / source.height;
        const double evenShape = double(size.width) / size.height;
        if (std::fabs(shape / evenShape - 1.0) >= 0.02)
            av_reduce(&size.sampleAspect.num, &size.sampleAspect.den, std::int64_t(sar.num) * source.width * size.height,
                      std::int64_t(sar.den) * source.height * size.width, 255);
        return size;
    }
    size.height = even(height);
    const double width = double(size.height) * source.width * av_q2d(sar) / source.height;
    size.width = even(int(std::lround(width / 2.0)) * 2);
    return size;
}

AVRational frameRate(const SourceShape& source, double fps)
{
    if (fps > 0)
        return OutputPlanner::rateFromFps(fps);
    const bool guessed = validRate(source.frameRate);
    const bool average = validRate(source.averageRate);
    if (average && (!guessed || std::fabs(av_q2d(source.averageRate) / av_q2d(source.frameRate) - 1.0) > 0.01))
        return tidyRate(source.averageRate);
    return guessed ? source.frameRate : AVRational{25, 1};
}

int h264Level(int width, int height, AVRational rate)
{
    const H264Level* level = levelFor(width, height, rate);
    return level ? level->level : 0;
}

bool plan(const ControlProperties& p, const SourceShape& source, bool keepSize, bool withAudio, OutputPlan* plan,
          std::string* error)
{
    plan->muxer = "mp4";
    plan->fastStart = true;
    if (plan->picture.enabled && !planVideo(p, source, keepSize, plan->picture, error))
        return false;
    const long kbps = p.audioBitRate > 0 ? std::clamp(p.audioBitRate, 96L, 256L) : kDefaultAudioKbps;
    plan->sound = {withAudio, "aac", kAudioRate, 2, std::int64_t(kbps) * 1000};
    return true;
}

}  // namespace Mp4Plan
