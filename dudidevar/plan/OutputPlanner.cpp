// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/plan/OutputPlanner.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "dudidevar/plan/CompressorCatalog.h"
#include "dudidevar/picture/PictureGeometry.h"
#include "dudidevar/plan/Mp4Plan.h"
#include "dudidevar/plan/WmvProfileTable.h"

namespace OutputPlanner {

namespace {

enum Code { VcdPal, VcdNtsc, SvcdPal, SvcdNtsc, DvdPal, DvdNtsc, MpegCustom, Avi, Wmv, Mp4 };

constexpr AVRational kPalRate{25, 1};
constexpr AVRational kNtscRate{30000, 1001};
constexpr int kMpeg2Vbv = 1835008;  // 224 KiB
constexpr int kVcdVbv = 327680;     // 40 KiB
constexpr int kMuxMaxDelayUs = 700000;

int even(int value)
{
    return std::max(2, value & ~1);
}

// The frame shapes each kind of output may flag: DVD and SVCD allow 4:3 and 16:9, VCD only 4:3;
// other MPEG-2 adds square pixels; AVI and Windows Media have no flag.
const FrameShapes& discShapes(bool vcd)
{
    static const FrameShapes dvd = FrameShapes::listed({{4, 3}, {16, 9}}, false);
    static const FrameShapes vcdOnly = FrameShapes::listed({{4, 3}}, false);
    return vcd ? vcdOnly : dvd;
}

const FrameShapes& mpeg2Shapes()
{
    static const FrameShapes shapes = FrameShapes::listed({{4, 3}, {16, 9}}, true);
    return shapes;
}

// The frame's pixel shape that shows the source at its shape, as near as the format allows;
// the picture conversion fits the picture into what is left (black bars).
void flagShape(const SourceShape& source, const FrameShapes& rules, PicturePlan& v)
{
    v.sampleAspect = PictureGeometry::frameSampleAspect(PictureGeometry::displayAspect(source), v.width, v.height,
                                                        rules);
}

AVRational sourceRate(const SourceShape& source)
{
    if (source.frameRate.num > 0 && source.frameRate.den > 0 && av_q2d(source.frameRate) <= 120)
        return source.frameRate;
    return kPalRate;
}

long orDefault(long value, long fallback)
{
    return value > 0 ? value : fallback;
}

void planMpegRate(const ControlProperties& p, PicturePlan& v, long defaultKbps, long maxKbps)
{
    v.maxRate = std::int64_t(maxKbps) * 1000;
    v.bufferSize = kMpeg2Vbv;
    v.bitRate = std::int64_t(std::min(orDefault(p.videoBitRate, defaultKbps), maxKbps)) * 1000;
    if (p.vbr)
        v.quantiser = mpegQuantiser(p.vbrQuality);
}

void planDisc(const ControlProperties& p, bool withAudio, OutputPlan& plan, const SourceShape& source)
{
    const Code code = Code(p.outputFormat);
    const bool pal = code == VcdPal || code == SvcdPal || code == DvdPal;
    PicturePlan& v = plan.picture;
    SoundPlan& a = plan.sound;
    v.frameRate = pal ? kPalRate : kNtscRate;
    v.gop = pal ? 15 : 18;
    a.channels = 2;
    a.sampleRate = 44100;
    a.encoder = "mp2";
    plan.maxDelayUs = kMuxMaxDelayUs;
    if (code == VcdPal || code == VcdNtsc) {
        plan.muxer = "vcd";
        plan.packetSize = 2324;
        plan.muxRate = 1411200;
        plan.preloadUs = 440000;  // the first packs hold padding: data starts at SCR 36000 + 3 × 1200
        v.encoder = "mpeg1video";
        v.width = 352;
        v.height = pal ? 288 : 240;
        v.bitRate = v.minRate = v.maxRate = std::int64_t(orDefault(p.videoBitRate, 1150)) * 1000;
        v.bufferSize = kVcdVbv;
        a.bitRate = 224000;
    } else if (code == SvcdPal || code == SvcdNtsc) {
        plan.muxer = "svcd";
        plan.packetSize = 2324;
        v.encoder = "mpeg2video";
        v.width = 480;
        v.height = pal ? 576 : 480;
        v.scanOffset = true;
        planMpegRate(p, v, 2040, 2516);
        a.bitRate = std::int64_t(orDefault(p.audioBitRate, 224)) * 1000;
    } else {
        plan.muxer = "dvd";
        plan.packetSize = 2048;
        plan.muxRate = 10080000;
        v.encoder = "mpeg2video";
        v.width = 720;
        v.height = pal ? 576 : 480;
        planMpegRate(p, v, 6000, 9000);
        a.encoder = "ac3";
        a.sampleRate = 48000;
        a.bitRate = std::int64_t(orDefault(p.audioBitRate, 448)) * 1000;
    }
    flagShape(source, discShapes(code == VcdPal || code == VcdNtsc), v);
    a.enabled = withAudio;
}

// The size asked for, or the source's own: its stored size turned upright where the format
// flags a pixel shape, its size at square pixels where it has no flag.
void chooseSize(const ControlProperties& p, const SourceShape& source, bool keepSize, const FrameShapes& rules,
                PicturePlan& v)
{
    if (!keepSize && p.outputWidth > 0 && p.outputHeight > 0) {
        v.width = even(p.outputWidth);
        v.height = even(p.outputHeight);
    } else if (rules.kind == FrameShapes::Kind::SquareOnly) {
        const PictureGeometry::Size size = PictureGeometry::squareSize(source);
        v.width = size.width;
        v.height = size.height;
    } else {
        const bool turned = source.rotation == 90 || source.rotation == 270;
        v.width = even(turned ? source.height : source.width);
        v.height = even(turned ? source.width : source.height);
    }
    flagShape(source, rules, v);
}

void planCustomMpeg(const ControlProperties& p, const SourceShape& source, bool keepSize, bool withAudio,
                    OutputPlan& plan)
{
    PicturePlan& v = plan.picture;
    plan.muxer = "vob";
    plan.maxDelayUs = kMuxMaxDelayUs;
    v.encoder = "mpeg2video";
    chooseSize(p, source, keepSize, mpeg2Shapes(), v);
    v.frameRate = p.frameRate > 0 ? rateFromFps(p.frameRate) : sourceRate(source);
    v.gop = av_q2d(v.frameRate) < 26 ? 15 : 18;
    if (p.vbr) {
        planMpegRate(p, v, 2000, 9800);
    } else {
        v.bitRate = v.minRate = v.maxRate = std::int64_t(orDefault(p.videoBitRate, 2000)) * 1000;
        v.bufferSize = kMpeg2Vbv;
    }
    plan.sound = {withAudio, "mp2", 44100, 2, std::int64_t(orDefault(p.audioBitRate, 224)) * 1000};
}

bool planAvi(const ControlProperties& p, const SourceShape& source, bool keepSize, bool withAudio,
             OutputPlan& plan, std::string* error)
{
    const auto& videos = CompressorCatalog::video();
    const auto& audios = CompressorCatalog::audio();
    const int videoIndex = p.useVideoCompressor ? p.videoCompressor : 1;
    const int audioIndex = p.useAudioCompressor ? p.audioCompressor : int(audios.size()) - 1;
    if (videoIndex < 0 || videoIndex >= int(videos.size())) {
        *error = "no such video compressor";
        return false;
    }
    if (withAudio && (audioIndex < 0 || audioIndex >= int(audios.size()))) {
        *error = "no such audio compressor";
        return false;
    }
    plan.muxer = "avi";
    PicturePlan& v = plan.picture;
    const VideoCompressorInfo& info = videos[std::size_t(videoIndex)];
    const CompressorSettings settings = CompressorCatalog::videoSettings(videoIndex);
    v.encoder = info.encoder;
    v.codecTag = info.aviTag;
    v.pixelFormat = info.pixelFormat;
    chooseSize(p, source, keepSize, FrameShapes::squareOnly(), v);
    v.frameRate = p.frameRate > 0 ? rateFromFps(p.frameRate) : sourceRate(source);
    v.gop = settings.keyInterval;
    if (info.rate == RateControl::BitRate)
        v.bitRate = std::int64_t(settings.kbps) * 1000;
    if (info.rate == RateControl::Quality && v.encoder == "libx264")
        v.crf = int(std::lround(51.0 * (100 - settings.quality) / 100.0));
    else if (info.rate == RateControl::Quality)
        v.quantiser = CompressorCatalog::qualityToQuantiser(settings.quality, 2, 31);
    if (withAudio) {
        const AudioCompressorInfo& audio = audios[std::size_t(audioIndex)];
        plan.sound = {true, audio.encoder, audio.sampleRate, 2,
                      std::int64_t(CompressorCatalog::audioSettings(audioIndex).kbps) * 1000};
    }
    return true;
}

// Windows Media output keeps the source's size at square pixels, within the profile's limits.
void planWmv(const ControlProperties& p, const SourceShape& source, bool withVideo, bool withAudio,
             OutputPlan& plan)
{
    const WmvProfile& profile = WmvProfileTable::at(p.wmvProfile);
    plan.muxer = "asf";
    PicturePlan& v = plan.picture;
    v.enabled = withVideo && profile.videoKbps > 0;
    v.encoder = "wmv2";
    const PictureGeometry::Size size =
        PictureGeometry::squareSizeWithin(source, profile.maxWidth, profile.maxHeight);
    v.width = size.width;
    v.height = size.height;
    v.sampleAspect = {1, 1};
    v.frameRate = sourceRate(source);
    if (profile.maxFps > 0 && av_q2d(v.frameRate) > profile.maxFps + 0.01)
        v.frameRate = rateFromFps(profile.maxFps);
    v.gop = std::max(1, int(std::lround(av_q2d(v.frameRate) * 3)));
    v.bitRate = std::int64_t(profile.videoKbps) * 1000;
    plan.sound = {withAudio, "wmav2", profile.audioRate, profile.audioChannels,
                  std::int64_t(profile.audioKbps) * 1000};
}

}  // namespace

bool wavMayPass4GiB(const SoundPlan& audio, double seconds)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(audio.encoder.c_str());
    const int bytesPerSample = codec ? av_get_bits_per_sample(codec->id) / 8 : 4;
    const double bytes = seconds * audio.sampleRate * audio.channels * std::max(bytesPerSample, 1);
    return bytes > 2.0 * 1024 * 1024 * 1024;
}

AVRational rateFromFps(double fps)
{
    if (!(fps > 0))
        return kPalRate;
    const double ntsc = fps * 1.001;
    if (std::fabs(ntsc - std::round(ntsc)) < 0.005 && std::fabs(fps - std::round(fps)) > 0.005)
        return {int(std::round(ntsc)) * 1000, 1001};
    return av_d2q(fps, 100000);
}

double mpegQuantiser(long quality)
{
    const long q = std::clamp(quality, 10L, 100L);
    return 2.0 + (100 - q) * 29.0 / 90.0;
}

bool planConversion(const ControlProperties& p, const SourceShape& source, bool keepSize, bool withVideo,
                    bool withAudio, OutputPlan* plan, std::string* error)
{
    *plan = OutputPlan{};
    plan->picture.enabled = withVideo;
    if (withVideo && (source.width <= 0 || source.height <= 0)) {
        *error = "the first video source has no picture size";
        return false;
    }
    switch (p.outputFormat) {
    case VcdPal: case VcdNtsc: case SvcdPal: case SvcdNtsc: case DvdPal: case DvdNtsc:
        planDisc(p, withAudio, *plan, source);
        return true;
    case MpegCustom:
        planCustomMpeg(p, source, keepSize, withAudio, *plan);
        return true;
    case Avi:
        return planAvi(p, source, keepSize, withAudio, *plan, error);
    case Wmv:
        planWmv(p, source, withVideo, withAudio, *plan);
        return true;
    case Mp4:
        return Mp4Plan::plan(p, source, keepSize, withAudio, plan, error);
    default:
        *error = "unknown output format " + std::to_string(p.outputFormat);
        return false;
    }
}

OutputPlan planWma()
{
    OutputPlan plan;
    plan.muxer = "asf";
    plan.sound = {true, "wmav2", 44100, 2, 128000};
    return plan;
}

bool planWav(int channels, int sampleRate, int bytesPerSample, OutputPlan* plan, std::string* error)
{
    static const char* const encoders[] = {"pcm_u8", "pcm_s16le", "pcm_s24le", "pcm_s32le"};
    if (channels < 1 || channels > 8 || sampleRate < 1000 || sampleRate > 192000 || bytesPerSample < 1 ||
        bytesPerSample > 4) {
        *error = "a WAV file cannot hold that sound format";
        return false;
    }
    *plan = OutputPlan{};
    plan->muxer = "wav";
    plan->sound = {true, encoders[bytesPerSample - 1], sampleRate, channels, 0};
    return true;
}

}  // namespace OutputPlanner
