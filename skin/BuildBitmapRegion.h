// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRegion>
#include <functional>
#include <optional>

#include "skin/RegionRectBuffer.h"

// Key colours are 0x00RRGGBB: the low byte is compared with a pixel's blue, the second with
// its green, the third with its red; the high byte plays no part.
inline constexpr quint32 WhiteKey = 0xFFFFFF;
// Mode: nonzero keeps the pixels that differ from the key, zero keeps those that match it.
inline constexpr int KeyTransparent = 1;
inline constexpr int KeyOpaque = 0;
inline constexpr int MaxRectsPerBatch = 2000;

// One batch of rectangles handed to region creation: at most MaxRectsPerBatch runs.
struct RegionBatch {
    const QRect* rects;
    int count;
    int capacity;
    RegionBound bound;
};
using RegionBatchSink = std::function<void(const RegionBatch&)>;

// Scans the bitmap's 32-bit copy row by row from the top, one rectangle per run of region
// pixels, handing the runs to the sink in batches. False when there is no bitmap or no copy
// of it, or the rectangle buffer cannot be had; the sink has then seen nothing or part.
bool ScanBitmapRuns(const QImage& bitmap, quint32 key, int mode, const RegionBatchSink& sink);

// The window region of a bitmap: the union of its batches' regions; none on failure, an
// empty region when no pixel belongs to it.
std::optional<QRegion> BuildBitmapRegion(const QImage& bitmap, quint32 key, int mode);
