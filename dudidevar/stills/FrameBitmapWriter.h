// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/picture/PictureOverlay.h"
#include "dudidevar/picture/PlacedScaler.h"
#include "dudidevar/run/LeftoverSweep.h"

// Writes decoded pictures as 24-bit bottom-up BMP files, scaled to the size asked for. A file
// appears only complete: it is written beside the target and renamed onto it.
class FrameBitmapWriter {
public:
    // Larger sides are refused rather than allocated.
    static constexpr int kLargestSide = 16384;

    // Writes a picture of width × height: the frame scaled into `where`, black around it.
    // False, with nothing written, when the size is outside 1..kLargestSide or the file cannot
    // be written.
    // overlay: drawn over the picture as at `seconds` (null: nothing).
    bool write(const AVFrame& frame, int width, int height, const PicturePlacement& where, const std::string& path,
               PictureOverlay* overlay = nullptr, double seconds = 0.0);
    // Why the last file could not be written; empty when it was, or when the picture failed
    // before its file was begun.
    const std::string& failure() const { return failure_; }
    // The pictures written from here on are a new run: the folders they go into are swept of
    // killed runs' leftovers again, each once.
    void startRun() { leftovers_ = LeftoverSweep(); }

private:
    ff::Frame scaleToBgr(const AVFrame& frame, int width, int height, const PicturePlacement& where);
    static ff::Packet encodeBitmap(const AVFrame& picture);
    bool writeFile(const ff::Packet& packet, const std::string& path);

    PlacedScaler scaler_;
    PlacedScaler rgbConverter_;
    LeftoverSweep leftovers_;
    std::string failure_;
};
