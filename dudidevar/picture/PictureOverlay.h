// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/picture/PictureGeometry.h"

struct AVFrame;

// Something drawn over the fitted picture of each output frame (burned subtitles), inside the
// picture's place in the frame, never in its bars.
class PictureOverlay {
public:
    virtual ~PictureOverlay() = default;
    // Draws what is shown at `seconds` of the output onto the frame, making the frame writable
    // first when there is anything to draw (its picture may be shared with other frames).
    // False with the reason when it cannot.
    virtual bool draw(AVFrame* frame, double seconds, const PicturePlacement& picture, std::string* error) = 0;
};
