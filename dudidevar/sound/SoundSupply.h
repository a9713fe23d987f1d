// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/base/FfmpegOwners.h"

// Where a run takes the packets of its sound stream from, in time order: encoded on the calling
// thread (SerialSound), or ahead of it on a thread of its own (SoundStage).
class SoundSupply {
public:
    virtual ~SoundSupply() = default;
    // The next packet; null at the end of the sound (error left empty) or with the reason when
    // it failed.
    virtual ff::Packet next(std::string* error) = 0;
};
