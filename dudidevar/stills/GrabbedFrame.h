// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/source/SourceShape.h"

// A picture of a video: a reference of its own to the decoded frame, and the frame's shape.
// No frame when the video shows nothing at the time asked for.
struct GrabbedFrame {
    ff::Frame frame;
    SourceShape shape;
};
