// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

#include "dudidevar/sound/SoundSupply.h"

class SoundTrack;
class StreamEncoder;

// The sound of a track encoded on the calling thread: frames are taken from the track and
// encoded as packets are asked for, and the encoder is drained once the track is complete.
class SerialSound : public SoundSupply {
public:
    SerialSound(SoundTrack& track, StreamEncoder& encoder) : track_(track), encoder_(encoder) {}

    ff::Packet next(std::string* error) override;

private:
    bool encodeMore(std::string* error);

    SoundTrack& track_;
    StreamEncoder& encoder_;
    std::vector<ff::Packet> encoded_;
    std::size_t taken_ = 0;
    bool drained_ = false;
};
