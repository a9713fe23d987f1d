#pragma once

#include <cstdint>

#include "tasks/OutputFormat.h"

// The format settings of one task: sixteen 32-bit fields, all zero when created.
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
};

static_assert(sizeof(TaskSettings) == 16 * 4, "sixteen 32-bit fields");
