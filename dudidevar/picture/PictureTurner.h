// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/base/FfmpegOwners.h"

// Turns decoded pictures upright: a quarter turn either way, or a half turn. Each plane is
// turned as it is where its colour is sampled alike across and down (4:2:0, 4:4:4, RGB);
// other layouts are first brought to 4:4:4.
class PictureTurner {
public:
    // The picture turned `rotation` degrees clockwise (0, 90, 180, 270), or the picture itself
    // when there is nothing to turn. Valid until the next call; null with the reason on failure.
    const AVFrame* turn(const AVFrame& picture, int rotation, std::string* error);

private:
    const AVFrame* turnable(const AVFrame& picture);

    ff::Sws sws_;
    ff::Frame even_;  // a picture brought to 4:4:4 first
    ff::Frame turned_;
};
