// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/picture/PictureTrack.h"

#include "dudidevar/picture/PictureGeometry.h"

#include <algorithm>
#include <cmath>

#include "dudidevar/source/PromisedLength.h"
#include "dudidevar/source/SourceReasons.h"
#include "dudidevar/source/SpanLayout.h"

namespace {

constexpr double kTimeSlack = 1e-6;

// A picture asked for past the last one read is missing when the file's header promised more:
// the span's own end was measured from the same cut file and says nothing.
bool keptPromise(const SpanDecoder& decoder, const std::string& path, double time, double lastTime, std::string* error)
{
    const AVRational rate = av_guess_frame_rate(decoder.input(), decoder.stream(), nullptr);
    if (rate.num <= 0 || rate.den <= 0)
        return true;
    const double readEnd = lastTime + av_q2d(av_inv_q(rate));
    if (time < readEnd - kTimeSlack)
        return true;
    *error = PromisedLength::shortfall(path, decoder.input(), decoder.stream(), readEnd);
    return error->empty();
}

}  // namespace

bool PictureTrack::open(const std::vector<Clip>& clips, std::string* error, ProbeShelf* probes)
{
    if (!layOutSpans(clips, &spans_, &total_, [&](Span& span) { return openSpan(span, probes, error); }) ||
        spans_.empty())
        return false;
    // A source without a single picture is refused before anything is written; later spans
    // are read, and checked, when their turn comes.
    Span& first = spans_.front();
    return advanceTo(first, first.clip.start, error);
}

bool PictureTrack::readsOn() const
{
    if (spans_.size() != 1)
        return false;
    const Span& span = spans_.front();
    return span.decoder && !span.ended && !span.decoder->failed();
}

bool PictureTrack::continueAt(const Clip& clip, std::string* error)
{
    // The last part's stages stopped the track as they ended, and its run's stop flag is gone.
    stopped_ = false;
    runStop_ = nullptr;
    Span& span = spans_.front();
    span.clip = clip;
    span.offset = 0.0;
    total_ = clip.length();
    // The new output starts with the picture shown, even when the last part showed it already.
    span.fresh = true;
    return advanceTo(span, clip.start, error);
}

bool PictureTrack::openSpan(Span& span, ProbeShelf* probes, std::string* error)
{
    span.decoder = std::make_unique<SpanDecoder>();
    if (!span.decoder->open(span.clip.path, AVMEDIA_TYPE_VIDEO, error, probes))
        return false;
    span.decoder->seekBefore(span.clip.start);
    span.rotation = PictureGeometry::rotationOf(span.decoder->stream());
    span.shown = ff::makeFrame();
    span.upcoming = ff::makeFrame();
    if (!span.shown || !span.upcoming) {
        *error = "out of memory";
        return false;
    }
    av_frame_unref(span.shown.get());
    return true;
}

SourceShape PictureTrack::sourceShape() const
{
    const SpanDecoder& d = *spans_.front().decoder;
    return PictureGeometry::shapeOf(d.input(), d.stream());
}

std::map<std::string, AVFormatContext*> PictureTrack::probedInputs() const
{
    std::map<std::string, AVFormatContext*> inputs;
    for (const Span& span : spans_) {
        if (span.decoder && span.decoder->input())
            inputs.emplace(span.clip.path, span.decoder->input());
    }
    return inputs;
}

void PictureTrack::setOutput(const PicturePlan& plan)
{
    plan_ = plan;
    fitter_.setOutput(plan);
    const double fps = av_q2d(plan.frameRate);
    frameCount_ = std::int64_t(std::ceil(total_ * fps - 1e-6));
    index_ = 0;
    current_ = 0;
}

double PictureTrack::secondsDone() const
{
    return index_ / av_q2d(plan_.frameRate);
}

bool PictureTrack::nextDue(PictureFitter::Due* due, std::string* error)
{
    if (finished()) {
        *error = "the picture track has ended";
        return false;
    }
    const double t = double(index_) * plan_.frameRate.den / plan_.frameRate.num;
    while (current_ + 1 < spans_.size() && t >= spans_[current_ + 1].offset - kTimeSlack) {
        spans_[current_].decoder.reset();
        spans_[current_].upcoming.reset();
        ++current_;
    }
    Span& span = spans_[current_];
    const double sourceTime = span.clip.start + (t - span.offset);
    if (!advanceTo(span, sourceTime, error))
        return false;
    due->index = index_++;
    due->source.reset();
    if (!span.fresh)
        return true;
    due->source = ff::makeFrame();
    if (!due->source || av_frame_ref(due->source.get(), span.shown.get()) < 0) {
        *error = "out of memory";
        return false;
    }
    due->sampleAspect =
        av_guess_sample_aspect_ratio(span.decoder->input(), span.decoder->stream(), span.shown.get());
    due->rotation = span.rotation;
    due->path = span.clip.path;
    span.fresh = false;
    return true;
}

bool PictureTrack::stopRequested() const
{
    return stopped_.load(std::memory_order_relaxed) || (runStop_ && runStop_->load(std::memory_order_relaxed));
}

// Decodes forward until the span's shown frame is the source picture nearest to `time`: the one
// shown then, or the next one when that is nearer (a picture that starts a little after the
// sound is not held back a whole frame). A picture at or past the span's end is never taken
// early, so joined spans do not show it twice.
bool PictureTrack::advanceTo(Span& span, double time, std::string* error)
{
    SpanDecoder& decoder = *span.decoder;
    if (!span.shown->buf[0]) {
        if (!decoder.next(span.shown.get())) {
            *error = SourceReasons::noPicture(span.clip.path);
            return false;
        }
        span.fresh = true;
    }
    while (true) {
        if (stopRequested()) {
            *error = "stopped";
            return false;
        }
        if (!span.upcoming->buf[0] && !span.ended) {
            if (!decoder.next(span.upcoming.get())) {
                if (decoder.failed()) {
                    *error = SourceReasons::damaged(span.clip.path, decoder.error());
                    return false;
                }
                span.ended = true;
            }
        }
        if (span.ended)
            break;
        const double upcomingTime = decoder.timeOf(span.upcoming.get());
        const double shownTime = decoder.timeOf(span.shown.get());
        const bool due = upcomingTime <= time + kTimeSlack;
        const bool nearer = upcomingTime < span.clip.end - kTimeSlack && shownTime <= time &&
                            upcomingTime - time < time - shownTime - kTimeSlack;
        if (!due && !nearer)
            break;
        av_frame_unref(span.shown.get());
        av_frame_move_ref(span.shown.get(), span.upcoming.get());
        span.fresh = true;
    }
    const double lastTime = decoder.timeOf(span.shown.get());
    if (span.ended && time - lastTime > span.clip.shortfallAllowed()) {
        *error = SourceReasons::cutShort(span.clip.path, "picture", std::max(0.0, lastTime), span.clip.end);
        return false;
    }
    return !span.ended || keptPromise(decoder, span.clip.path, time, lastTime, error);
}
