// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/plan/CompressorCatalog.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace CompressorCatalog {

namespace {

std::mutex settingsMutex;
std::map<int, CompressorSettings> videoChosen;
std::map<int, CompressorSettings> audioChosen;

}  // namespace

const std::vector<VideoCompressorInfo>& video()
{
    static const std::vector<VideoCompressorInfo> list = {
        {"Xvid MPEG-4 Codec", "libxvid", "XVID", AV_PIX_FMT_YUV420P, RateControl::BitRate, 1800, 0, 250},
        {"DivX-compatible MPEG-4 Part 2", "mpeg4", "DX50", AV_PIX_FMT_YUV420P, RateControl::BitRate, 1800, 0, 250},
        {"Motion JPEG", "mjpeg", "MJPG", AV_PIX_FMT_YUVJ420P, RateControl::Quality, 0, 90, 0},
        {"H.264 / AVC (x264)", "libx264", "H264", AV_PIX_FMT_YUV420P, RateControl::Quality, 0, 55, 250},
        {"HuffYUV Lossless", "huffyuv", "HFYU", AV_PIX_FMT_YUV422P, RateControl::None, 0, 0, 0},
    };
    return list;
}

const std::vector<AudioCompressorInfo>& audio()
{
    static const std::vector<AudioCompressorInfo> list = {
        {"PCM 16-bit (uncompressed)", "pcm_s16le", 44100, 0},
        {"MPEG Layer-2 (MP2)", "mp2", 44100, 192},
        {"AC-3 (Dolby Digital)", "ac3", 48000, 192},
        {"MPEG Layer-3 (LAME MP3)", "libmp3lame", 44100, 128},
    };
    return list;
}

bool videoHasSettings(int index)
{
    return index >= 0 && index < int(video().size()) &&
           video()[std::size_t(index)].rate != RateControl::None;
}

bool audioHasSettings(int index)
{
    return index >= 0 && index < int(audio().size()) && audio()[std::size_t(index)].defaultKbps > 0;
}

CompressorSettings videoSettings(int index)
{
    std::lock_guard lock(settingsMutex);
    if (auto it = videoChosen.find(index); it != videoChosen.end())
        return it->second;
    const VideoCompressorInfo& info = video().at(std::size_t(index));
    return {info.defaultKbps, info.defaultQuality, info.defaultKeyInterval};
}

CompressorSettings audioSettings(int index)
{
    std::lock_guard lock(settingsMutex);
    if (auto it = audioChosen.find(index); it != audioChosen.end())
        return it->second;
    return {audio().at(std::size_t(index)).defaultKbps, 0, 0};
}

void setVideoSettings(int index, const CompressorSettings& settings)
{
    std::lock_guard lock(settingsMutex);
    videoChosen[index] = settings;
}

void setAudioSettings(int index, const CompressorSettings& settings)
{
    std::lock_guard lock(settingsMutex);
    audioChosen[index] = settings;
}

double qualityToQuantiser(int quality, double best, double worst)
{
    const int q = std::clamp(quality, 1, 100);
    return best + (worst - best) * (100 - q) / 99.0;
}

}  // namespace CompressorCatalog
