// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

// Everything the writer needs to know about the video stream of an output.
struct PicturePlan {
    bool enabled = false;
    std::string encoder;
    const char* codecTag = nullptr;  // four-character code, or null for the muxer's choice
    int width = 0;
    int height = 0;
    AVRational frameRate{0, 1};
    AVRational sampleAspect{1, 1};
    AVPixelFormat pixelFormat = AV_PIX_FMT_YUV420P;
    std::int64_t bitRate = 0;  // bit/s
    std::int64_t minRate = 0;
    std::int64_t maxRate = 0;
    int bufferSize = 0;  // bits
    int gop = 0;
    double quantiser = 0.0;  // fixed quantiser (variable bit rate); 0: rate-controlled
    int crf = -1;            // constant rate factor (x264, x265, SVT-AV1); -1: none
    bool scanOffset = false;
    int level = 0;           // the codec's level number (H.264 4.1 is 41); 0: the encoder's choice
    // Named options of the encoder (preset, profile, ...); an option it does not know fails.
    std::vector<std::pair<std::string, std::string>> options;
};

struct SoundPlan {
    bool enabled = false;
    std::string encoder;
    int sampleRate = 44100;
    int channels = 2;
    std::int64_t bitRate = 0;
};

// The container and streams of one output.
struct OutputPlan {
    std::string muxer;
    int packetSize = 0;
    int muxRate = 0;      // bit/s
    int preloadUs = 0;
    int maxDelayUs = -1;  // -1: the library's default
    bool largeWav = false;  // a WAV file switches to its large-file header when it passes 4 GiB
    bool fastStart = false;  // MP4: the index goes before the media data
    PicturePlan picture;
    SoundPlan sound;
};
