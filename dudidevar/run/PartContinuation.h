// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "dudidevar/picture/PictureTrack.h"
#include "dudidevar/sound/SoundTrack.h"
#include "dudidevar/source/Clip.h"
#include "dudidevar/source/TrackChoice.h"

// The reading of a source that a run of one part of it leaves open, its decoders where the
// part ended, for the run of the part that follows: a split reads its source once, in order,
// as a converting it whole does. Kept on the worker thread, taken by the next run's preparation.
class PartContinuation {
public:
    // What a run reads: one picture clip, with the same clip of sound or without sound.
    struct Reading {
        std::vector<Clip> pictureClips;
        std::vector<Clip> soundClips;
        TrackChoice soundChoice;
    };

    // Keeps the tracks of a finished run, unless their reading cannot go on.
    void keep(const Reading& read, std::unique_ptr<PictureTrack> pictures, std::unique_ptr<SoundTrack> sound);
    // The kept tracks when the reading continues them: the same file and sound track, its clip
    // starting where the kept one ended. What is kept is given up either way.
    bool take(const Reading& next, std::unique_ptr<PictureTrack>* pictures, std::unique_ptr<SoundTrack>* sound);
    void clear();

    // Whether a run that reads this could be continued by a next part.
    static bool continuable(const Reading& read);

private:
    bool follows(const Reading& next) const;

    std::mutex mutex_;
    Reading kept_;
    std::unique_ptr<PictureTrack> pictures_;
    std::unique_ptr<SoundTrack> sound_;
};
