// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/plan/ControlProperties.h"
#include "dudidevar/plan/OutputPlan.h"
#include "dudidevar/source/SourceShape.h"

// Turns the control's properties into the container, codecs, sizes and rates of an output.
namespace OutputPlanner {

// A conversion of the clip list. keepSize: the first video clip keeps the source's size.
// False with a reason when the properties name no output the control can make.
bool planConversion(const ControlProperties& properties, const SourceShape& source, bool keepSize,
                    bool withVideo, bool withAudio, OutputPlan* plan, std::string* error);
// The sound track as Windows Media Audio 2 in ASF.
OutputPlan planWma();
// The sound track as PCM WAV; false for values a WAV file cannot hold.
bool planWav(int channels, int sampleRate, int bytesPerSample, OutputPlan* plan, std::string* error);
// Whether a WAV file of this sound and length may pass the 4 GiB that its ordinary header can
// describe; lengths are estimates, so the answer leaves a wide margin.
bool wavMayPass4GiB(const SoundPlan& audio, double seconds);

// A frame rate from frames per second, exact for the NTSC rates (29.97 → 30000/1001).
AVRational rateFromFps(double fps);
// The fixed quantiser for a variable-bit-rate quality (100 best, 10 lowest; clamped).
double mpegQuantiser(long quality);

}  // namespace OutputPlanner
