// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/picture/FramePool.h"
#include "dudidevar/picture/PictureGeometry.h"

// Scales pictures into a rectangle of a black frame (letterbox or pillarbox), keeping its
// scaler between calls; in bands side by side on several threads when asked to.
class PlacedScaler {
public:
    // Threads of the scaler made for the next picture of a new size or format; 1 by default.
    void setThreads(int threads) { threads_ = threads; }

    // A new frame of width × height in `format`: the picture scaled into `where`, black around
    // it. Null when the scaler cannot be made or memory runs out.
    ff::Frame scale(const AVFrame& picture, int width, int height, AVPixelFormat format,
                    const PicturePlacement& where, int flags);

private:
    struct Setup {
        int sourceWidth = 0;
        int sourceHeight = 0;
        int sourceFormat = -1;
        int width = 0;
        int height = 0;
        int format = -1;
        int flags = 0;
        int threads = 1;
        bool operator==(const Setup&) const = default;
    };

    bool prepare(const Setup& setup);
    bool scaleInto(const AVFrame& picture, AVFrame& frame);

    ff::Sws sws_;
    Setup setup_;
    FramePool frames_;
    FramePool placedFrames_;  // the picture itself, before it is copied in between its bars
    int threads_ = 1;
};
