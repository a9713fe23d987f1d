// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "tasks/OutputFormat.h"

// The format settings of one task: 32-bit fields, all zero when created. The MP4 kind keeps its
// picture size in height/keepSourceSize, its rate in frameRate (0: the source's), its sound in
// audioBitRate/videoOnly, and its codec, quality and speed in the last three fields.
struct TaskSettings {
    OutputFormat format = OutputFormat::VcdPal;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t keepSourceSize = 0;
    std::int32_t split = 0;
    std::int32_t splitSeconds = 0;
    std::int32_t videoOnly = 0;
    float frameRate = 0.0f;
    std::int32_t videoCompressor = 0;
    std::int32_t audioCompressor = 0;
    std::int32_t wmvProfile = 0;
    std::int32_t mpegFrameRateIndex = 0;
    std::int32_t vbr = 0;
    std::int32_t vbrQuality = 0;
    std::int32_t videoBitRate = 0;
    std::int32_t audioBitRate = 0;
    std::int32_t videoCodec = 0;  // Mp4: 0 H.264, 1 H.265, 2 AV1
    std::int32_t quality = 0;     // Mp4: constant rate factor; 0 the codec's default
    std::int32_t speed = 0;       // Mp4: 0 "Faster", 1 "Balanced", 2 "Smaller file"
};

static_assert(sizeof(TaskSettings) == 19 * 4, "nineteen 32-bit fields");
