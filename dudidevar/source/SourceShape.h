// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

extern "C" {
#include <libavutil/rational.h>
}

// What the planner and the picture conversion need to know of a source picture.
struct SourceShape {
    int width = 0;   // stored pixels
    int height = 0;
    AVRational frameRate{0, 1};
    AVRational sampleAspect{0, 1};  // 0/1 or 1/1: square pixels
    int rotation = 0;  // degrees clockwise (0, 90, 180, 270) that turn the stored picture upright
    AVRational averageRate{0, 1};  // frames over length; differs from frameRate when the rate varies
};
