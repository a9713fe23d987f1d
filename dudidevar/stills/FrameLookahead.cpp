// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/stills/FrameLookahead.h"

#include <cmath>
#include <system_error>
#include <utility>

namespace {

// FrameGrabber places a time on the stream's clock from its whole microseconds: two times with
// the same count find the same frame.
std::int64_t microsecondsOf(double seconds)
{
    return std::llround(seconds * 1.0e6);
}

}  // namespace

FrameLookahead::FrameLookahead()
{
    grabber_.setStop(&stop_);
}

FrameLookahead::~FrameLookahead()
{
    stopAhead();
}

void FrameLookahead::close()
{
    stopAhead();
    grabber_.close();
    lastPath_.clear();
}

GrabbedFrame FrameLookahead::take(const std::string& path, double seconds)
{
    GrabbedFrame picture;
    if (!takeAhead(path, seconds, &picture)) {
        stopAhead();
        picture = grab(path, seconds);
        const bool rising = path == lastPath_ && seconds > lastSeconds_;
        if (picture.frame && rising)
            startAhead(path, seconds + (seconds - lastSeconds_), seconds - lastSeconds_);
    }
    lastPath_ = path;
    lastSeconds_ = seconds;
    return picture;
}

GrabbedFrame FrameLookahead::grab(const std::string& path, double seconds)
{
    GrabbedFrame picture;
    const AVFrame* frame = grabber_.frameAt(path, seconds);
    if (!frame)
        return picture;
    // The grabber reuses its frame on the next call; this reference keeps the picture's buffers.
    ff::Frame own = ff::makeFrame();
    if (!own || av_frame_ref(own.get(), frame) < 0)
        return picture;
    picture.frame = std::move(own);
    picture.shape = grabber_.shapeOf(frame);
    return picture;
}

bool FrameLookahead::takeAhead(const std::string& path, double seconds, GrabbedFrame* picture)
{
    if (!queue_ || path != aheadPath_ || microsecondsOf(seconds) != microsecondsOf(aheadTime(aheadIndex_)))
        return false;
    std::optional<Ahead> ahead = queue_->pop();
    if (!ahead)
        return false;
    ++aheadIndex_;
    *picture = std::move(ahead->picture);
    return true;
}

bool FrameLookahead::beyondEnd(double seconds) const
{
    const double duration = grabber_.durationSeconds();
    return duration > 0.0 && seconds >= duration;
}

void FrameLookahead::startAhead(const std::string& path, double from, double step)
{
    if (!std::isfinite(from) || beyondEnd(from))
        return;
    aheadPath_ = path;
    aheadFrom_ = from;
    aheadStep_ = step;
    aheadIndex_ = 0;
    queue_ = std::make_unique<BoundedQueue<Ahead>>(kPicturesAhead);
    stop_ = false;
    try {
        // Started from the caller's thread, it works at the caller's priority.
        thread_ = std::thread([this, queue = queue_.get(), path, from, step] { decodeAhead(*queue, path, from, step); });
    } catch (const std::system_error&) {
        queue_.reset();  // no thread to be had: every picture is taken on the calling thread
    }
}

void FrameLookahead::stopAhead()
{
    if (thread_.joinable()) {
        stop_ = true;
        queue_->cancel();
        thread_.join();
        stop_ = false;
    }
    queue_.reset();
}

void FrameLookahead::decodeAhead(BoundedQueue<Ahead>& queue, const std::string& path, double from, double step)
{
    for (int index = 0;; ++index) {
        const double seconds = from + index * step;
        if (beyondEnd(seconds))
            break;
        Ahead ahead{microsecondsOf(seconds), grab(path, seconds)};
        // A stopped grab answers with what it had reached; it is never handed over.
        if (stop_)
            break;
        const bool found = bool(ahead.picture.frame);
        if (!queue.push(std::move(ahead)) || !found)
            break;
    }
    queue.close();
}
