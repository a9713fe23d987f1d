// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/sound/SerialSound.h"

#include "dudidevar/run/StreamEncoder.h"
#include "dudidevar/sound/SoundTrack.h"

ff::Packet SerialSound::next(std::string* error)
{
    while (taken_ == encoded_.size()) {
        encoded_.clear();
        taken_ = 0;
        if (drained_ || !encodeMore(error))
            return nullptr;
    }
    return std::move(encoded_[taken_++]);
}

bool SerialSound::encodeMore(std::string* error)
{
    if (track_.finished()) {
        drained_ = true;
        return encoder_.encode(nullptr, &encoded_, error);
    }
    ff::Frame frame = track_.next(error);
    if (!frame) {
        if (error->empty())
            *error = "the sound could not be made";
        return false;
    }
    return encoder_.encode(frame.get(), &encoded_, error);
}
