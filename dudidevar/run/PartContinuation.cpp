// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/PartContinuation.h"

#include <utility>

namespace {

bool sameClip(const Clip& a, const Clip& b)
{
    return a.path == b.path && a.start == b.start && a.end == b.end;
}

bool sameChoice(const TrackChoice& a, const TrackChoice& b)
{
    return a.by == b.by && a.number == b.number && a.language == b.language;
}

}  // namespace

bool PartContinuation::continuable(const Reading& read)
{
    if (read.pictureClips.size() != 1 || read.soundClips.size() > 1)
        return false;
    return read.soundClips.empty() || sameClip(read.soundClips.front(), read.pictureClips.front());
}

void PartContinuation::keep(const Reading& read, std::unique_ptr<PictureTrack> pictures,
                            std::unique_ptr<SoundTrack> sound)
{
    const bool readsOn = continuable(read) && pictures && pictures->readsOn() &&
                         (read.soundClips.empty() || (sound && sound->readsOn()));
    std::lock_guard<std::mutex> lock(mutex_);
    pictures_.reset();
    sound_.reset();
    if (!readsOn)
        return;
    kept_ = read;
    pictures->fitter().setOverlay(nullptr);  // the overlay belonged to the finished run
    pictures_ = std::move(pictures);
    sound_ = std::move(sound);
}

bool PartContinuation::take(const Reading& next, std::unique_ptr<PictureTrack>* pictures,
                            std::unique_ptr<SoundTrack>* sound)
{
    std::unique_lock<std::mutex> lock(mutex_);
    const bool follows = pictures_ && continuable(next) && this->follows(next);
    auto keptPictures = std::move(pictures_);
    auto keptSound = std::move(sound_);
    lock.unlock();
    if (!follows)
        return false;
    *pictures = std::move(keptPictures);
    if (!next.soundClips.empty())
        *sound = std::move(keptSound);
    return true;
}

bool PartContinuation::follows(const Reading& next) const
{
    const Clip& last = kept_.pictureClips.front();
    const Clip& clip = next.pictureClips.front();
    return clip.path == last.path && clip.start == last.end && next.soundClips.size() == kept_.soundClips.size() &&
           sameChoice(next.soundChoice, kept_.soundChoice);
}

void PartContinuation::clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    pictures_.reset();
    sound_.reset();
}
