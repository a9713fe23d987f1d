#pragma once

#include <cstdint>
#include <string>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

// Everything the writer needs to know about the video stream of an output.
struct VideoPlan {
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
    int crf = -1;            // x264 constant rate factor; -1: none
    bool scanOffset = false;
};

struct AudioPlan {
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
    VideoPlan video;
    AudioPlan audio;
};
