// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <thread>

#include "dudidevar/base/BoundedQueue.h"
#include "dudidevar/sound/SerialSound.h"
#include "dudidevar/sound/SoundSupply.h"

// The sound of a run decoded, converted and encoded on a thread of its own, its packets waiting
// in time order for the thread that writes the file. The thread starts at the priority of the
// thread that starts it.
class SoundStage : public SoundSupply {
public:
    // Throws std::system_error when the thread cannot be started.
    SoundStage(SoundTrack& track, StreamEncoder& encoder);
    // Stops the thread, within a frame of the track, and waits for it.
    ~SoundStage() override;
    SoundStage(const SoundStage&) = delete;
    SoundStage& operator=(const SoundStage&) = delete;

    ff::Packet next(std::string* error) override;

private:
    void encode();

    SoundTrack& track_;
    SerialSound sound_;
    BoundedQueue<ff::Packet> packets_;
    std::thread thread_;
};
