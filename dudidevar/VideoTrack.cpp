#include "dudidevar/VideoTrack.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTimeSlack = 1e-6;

}  // namespace

bool VideoTrack::open(const std::vector<Clip>& clips, std::string* error)
{
    spans_.clear();
    total_ = 0.0;
    for (const Clip& clip : clips) {
        Span span;
        span.clip = clip;
        span.offset = total_;
        span.decoder = std::make_unique<SpanDecoder>();
        if (!span.decoder->open(clip.path, AVMEDIA_TYPE_VIDEO, error))
            return false;
        span.decoder->seekBefore(clip.start);
        span.shown = ff::makeFrame();
        span.upcoming = ff::makeFrame();
        if (!span.shown || !span.upcoming) {
            *error = "out of memory";
            return false;
        }
        av_frame_unref(span.shown.get());
        total_ += clip.length();
        spans_.push_back(std::move(span));
    }
    return !spans_.empty();
}

int VideoTrack::sourceWidth() const { return spans_.front().decoder->decoder()->width; }
int VideoTrack::sourceHeight() const { return spans_.front().decoder->decoder()->height; }

AVRational VideoTrack::sourceRate() const
{
    const SpanDecoder& d = *spans_.front().decoder;
    return av_guess_frame_rate(d.input(), d.stream(), nullptr);
}

AVRational VideoTrack::sourceAspect() const
{
    const SpanDecoder& d = *spans_.front().decoder;
    return av_guess_sample_aspect_ratio(d.input(), d.stream(), nullptr);
}

AVRational VideoTrack::sourceAverageRate() const
{
    return spans_.front().decoder->stream()->avg_frame_rate;
}

void VideoTrack::setOutput(const VideoPlan& plan)
{
    plan_ = plan;
    const double fps = av_q2d(plan.frameRate);
    frameCount_ = std::int64_t(std::ceil(total_ * fps - 1e-6));
    index_ = 0;
    current_ = 0;
}

double VideoTrack::secondsDone() const
{
    return index_ / av_q2d(plan_.frameRate);
}

ff::Frame VideoTrack::next(std::string* error)
{
    if (finished())
        return nullptr;
    const double t = double(index_) * plan_.frameRate.den / plan_.frameRate.num;
    while (current_ + 1 < spans_.size() && t >= spans_[current_ + 1].offset - kTimeSlack) {
        spans_[current_].decoder.reset();
        spans_[current_].upcoming.reset();
        ++current_;
    }
    Span& span = spans_[current_];
    const double sourceTime = span.clip.start + (t - span.offset);
    if (!advanceTo(span, sourceTime, error))
        return nullptr;
    ff::Frame frame = scaled(span, error);
    if (!frame)
        return nullptr;
    frame->pts = index_++;
    return frame;
}

// Decodes forward until the frame shown at `time` is the span's shown frame.
bool VideoTrack::advanceTo(Span& span, double time, std::string* error)
{
    SpanDecoder& decoder = *span.decoder;
    if (!span.shown->buf[0]) {
        if (!decoder.next(span.shown.get())) {
            *error = span.clip.path + ": no picture could be decoded" +
                     (decoder.failed() ? " (" + decoder.error() + ")" : std::string());
            return false;
        }
        span.fresh = true;
    }
    while (true) {
        if (!span.upcoming->buf[0] && !span.ended) {
            if (!decoder.next(span.upcoming.get())) {
                if (decoder.failed()) {
                    *error = span.clip.path + ": " + decoder.error();
                    return false;
                }
                span.ended = true;
            }
        }
        if (span.ended)
            break;
        const double upcomingTime = decoder.timeOf(span.upcoming.get());
        if (upcomingTime > time + kTimeSlack)
            break;
        av_frame_unref(span.shown.get());
        av_frame_move_ref(span.shown.get(), span.upcoming.get());
        span.fresh = true;
    }
    if (span.ended && time - decoder.timeOf(span.shown.get()) > span.clip.shortfallAllowed()) {
        *error = span.clip.path + ": the file ends before the end of its span";
        return false;
    }
    return true;
}

// The span's shown frame at the output's size and pixel format; scaled once per source frame.
ff::Frame VideoTrack::scaled(Span& span, std::string* error)
{
    if (span.fresh || !picture_) {
        const AVFrame* src = span.shown.get();
        sws_.reset(sws_getCachedContext(sws_.release(), src->width, src->height, AVPixelFormat(src->format),
                                        plan_.width, plan_.height, plan_.pixelFormat, SWS_BICUBIC, nullptr,
                                        nullptr, nullptr));
        ff::Frame picture = ff::makeFrame();
        if (!sws_ || !picture) {
            *error = "cannot scale the picture of " + span.clip.path;
            return nullptr;
        }
        picture->width = plan_.width;
        picture->height = plan_.height;
        picture->format = plan_.pixelFormat;
        picture->sample_aspect_ratio = plan_.sampleAspect;
        if (av_frame_get_buffer(picture.get(), 0) < 0) {
            *error = "out of memory";
            return nullptr;
        }
        if (sws_scale(sws_.get(), src->data, src->linesize, 0, src->height, picture->data, picture->linesize) <= 0) {
            *error = "cannot scale the picture of " + span.clip.path;
            return nullptr;
        }
        picture_ = std::move(picture);
        span.fresh = false;
    }
    ff::Frame out = ff::makeFrame();
    if (!out || av_frame_ref(out.get(), picture_.get()) < 0) {
        *error = "out of memory";
        return nullptr;
    }
    return out;
}
