// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <thread>

#include "dudidevar/base/BoundedQueue.h"
#include "dudidevar/picture/PictureFitter.h"
#include "dudidevar/picture/PictureSupply.h"

class PictureTrack;

// The picture track of a run made ahead of its encoder on two threads: one decodes up to the
// source picture due at each output frame, the other turns and fits it into the output frame.
// A few frames wait between the stages, so memory stays flat. The threads start at the
// priority of the thread that starts them.
class PictureStages : public PictureSupply {
public:
    // Throws std::system_error when a thread cannot be started.
    explicit PictureStages(PictureTrack& track);
    // Stops both threads and waits for them.
    ~PictureStages() override;
    PictureStages(const PictureStages&) = delete;
    PictureStages& operator=(const PictureStages&) = delete;

    // The next output frame; null with the reason when the track failed (or has ended).
    ff::Frame next(std::string* error) override;

private:
    void decode();
    void fit();

    PictureTrack& track_;
    BoundedQueue<PictureFitter::Due> due_;
    BoundedQueue<ff::Frame> fitted_;
    std::thread decoding_;
    std::thread fitting_;
};
