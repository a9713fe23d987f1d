// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/base/FfmpegOwners.h"

// Where a run takes its output pictures from, one after another: made on the calling thread
// (SerialPictures), or ahead of it on threads of their own (PictureStages).
class PictureSupply {
public:
    virtual ~PictureSupply() = default;
    // The next output frame (pts = its number); null with the reason when the track failed or
    // has ended.
    virtual ff::Frame next(std::string* error) = 0;
};
