// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/plan/ControlProperties.h"
#include "dudidevar/plan/OutputPlan.h"
#include "dudidevar/plan/OutputPlanner.h"

// The MP4 output: H.264, H.265 or AV1 by constant rate factor, AAC-LC sound, the index at the
// front of the file.
namespace Mp4Plan {

enum Codec { H264 = 0, H265 = 1, Av1 = 2 };

struct PictureSize {
    int width = 0;
    int height = 0;
    AVRational sampleAspect{1, 1};
};

// Whether the media libraries have the encoder of that codec.
bool encoderAvailable(int codec);
// The encoder's name for a codec, or null for a number that names none.
const char* encoderName(int codec);
// The constant rate factor a quality of 0 stands for.
int defaultQuality(int codec);

// The picture of the output: the source's size (originalSize, or a height at or above the
// source's), else the height with the width of the source's shape, both even.
PictureSize pictureSize(const SourceShape& source, int height, bool originalSize);
// The output's frame rate: the asked one, else the source's; a source whose rate varies gets
// its average rate.
AVRational frameRate(const SourceShape& source, double fps);
// The lowest H.264 level (as 10 × the level) whose frame size and macroblock rate hold the
// picture; 0 when none does.
int h264Level(int width, int height, AVRational rate);

bool plan(const ControlProperties& properties, const SourceShape& source, bool keepSize, bool withAudio,
          OutputPlan* plan, std::string* error);

}  // namespace Mp4Plan
