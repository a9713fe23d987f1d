// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dudidevar/picture/PictureSupply.h"

class PictureTrack;

// The pictures of a track made on the calling thread: each output frame's source picture
// decoded, then turned and fitted, in turn.
class SerialPictures : public PictureSupply {
public:
    explicit SerialPictures(PictureTrack& track) : track_(track) {}

    ff::Frame next(std::string* error) override;

private:
    PictureTrack& track_;
};
