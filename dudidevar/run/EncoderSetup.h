// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/plan/OutputPlan.h"

// The encoders of an output, opened with the settings of its plan. Null with the reason when
// the libraries lack the encoder or refuse a setting.
namespace EncoderSetup {

// globalHeader: the container wants the codec's headers once, outside the packets.
ff::CodecContext openPicture(const PicturePlan& plan, bool globalHeader, std::string* error);
ff::CodecContext openSound(const SoundPlan& plan, bool globalHeader, std::string* error);

}  // namespace EncoderSetup
