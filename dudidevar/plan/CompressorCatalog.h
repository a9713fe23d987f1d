// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
}

// How a compressor's amount of data is chosen.
enum class RateControl { BitRate, Quality, None };

struct VideoCompressorInfo {
    const char* name;     // shown to the user
    const char* encoder;  // FFmpeg encoder name
    const char* aviTag;   // four-character code in AVI, or null for the muxer's choice
    AVPixelFormat pixelFormat;
    RateControl rate;
    int defaultKbps;
    int defaultQuality;      // 1..100, 100 best
    int defaultKeyInterval;  // 0: every frame is a key frame, no setting
};

struct AudioCompressorInfo {
    const char* name;
    const char* encoder;
    int sampleRate;
    int defaultKbps;  // 0: no setting (uncompressed)
};

// Settings of a compressor that the user may change on its settings page.
struct CompressorSettings {
    int kbps = 0;
    int quality = 0;
    int keyInterval = 0;
};

// The compressors the control offers for AVI output, in a fixed order, and the settings the
// user gave them, kept for the rest of the process.
namespace CompressorCatalog {

const std::vector<VideoCompressorInfo>& video();
const std::vector<AudioCompressorInfo>& audio();

bool videoHasSettings(int index);
bool audioHasSettings(int index);

// Settings now in force (the defaults until the user changes them); index must be valid.
CompressorSettings videoSettings(int index);
CompressorSettings audioSettings(int index);
void setVideoSettings(int index, const CompressorSettings& settings);
void setAudioSettings(int index, const CompressorSettings& settings);

// Maps a quality of 1..100 (100 best) onto a quantiser range [best, worst].
double qualityToQuantiser(int quality, double best, double worst);

}  // namespace CompressorCatalog
