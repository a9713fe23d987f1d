#pragma once

#include "dudidevar/FfmpegOwners.h"
#include "dudidevar/PictureGeometry.h"

// Scales pictures into a rectangle of a black frame (letterbox or pillarbox), keeping its
// scaler between calls.
class PlacedScaler {
public:
    // A new frame of width × height in `format`: the picture scaled into `where`, black around
    // it. Null when the scaler cannot be made or memory runs out.
    ff::Frame scale(const AVFrame& picture, int width, int height, AVPixelFormat format,
                    const PicturePlacement& where, int flags);

private:
    ff::Sws sws_;
};
