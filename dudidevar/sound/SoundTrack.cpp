// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/sound/SoundTrack.h"

#include <algorithm>
#include <cmath>

#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/source/SourceReasons.h"
#include "dudidevar/source/SpanLayout.h"

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace {
constexpr std::int64_t kSilenceChunk = 8192;
// Timestamps this close to where the sound already stands are taken as continuous.
constexpr int kJitterPerSecond = 50;
}

SoundTrack::~SoundTrack()
{
    av_channel_layout_uninit(&layout_);
}

bool SoundTrack::open(const std::vector<Clip>& clips, bool requireSound, bool soundOnly,
                      const std::map<std::string, AVFormatContext*>& probed, std::string* error, ProbeShelf* probes)
{
    if (!chosen_.resolve(clips, AVMEDIA_TYPE_AUDIO, choice_, probed, error))
        return false;
    const auto openOne = [&](Span& span) { return openSpan(span, requireSound, soundOnly, probed, probes, error); };
    if (!layOutSpans(clips, &spans_, &total_, openOne))
        return false;
    decoded_ = ff::makeFrame();
    if (!decoded_) {
        *error = "out of memory";
        return false;
    }
    return !spans_.empty();
}

// A file without sound gives silence (null decoder) unless sound is required. Without a picture,
// a span ends where its file's sound ends when that comes before its end.
bool SoundTrack::openSpan(Span& span, bool requireSound, bool soundOnly,
                          const std::map<std::string, AVFormatContext*>& probed, ProbeShelf* probes, std::string* error)
{
    const Clip& clip = span.clip;
    span.decoder = std::make_unique<SpanDecoder>();
    span.decoder->useStreamIndex(chosen_.indexFor(clip.path));
    const auto shared = soundOnly ? probed.end() : probed.find(clip.path);
    const bool opened = shared != probed.end()
                            ? span.decoder->openLater(clip.path, shared->second, AVMEDIA_TYPE_AUDIO, error)
                            : span.decoder->open(clip.path, AVMEDIA_TYPE_AUDIO, error, soundOnly ? probes : nullptr);
    if (!opened) {
        if (requireSound || !span.decoder->missingStream())
            return false;
        span.decoder.reset();
        error->clear();
        return true;
    }
    span.decoder->seekBefore(clip.start);
    const double soundEnd = soundOnly ? MediaProbe::streamEnd(span.decoder->input(), span.decoder->stream()) : -1.0;
    if (soundEnd > clip.start && soundEnd < clip.end)
        span.clip.end = soundEnd;
    return true;
}

int SoundTrack::sourceChannels() const
{
    int most = 0;
    for (const Span& span : spans_) {
        if (span.decoder)
            most = std::max(most, span.decoder->channels());
    }
    return most;
}

bool SoundTrack::readsOn() const
{
    return spans_.size() == 1 && (!spans_.front().decoder || !spans_.front().decoder->failed());
}

void SoundTrack::continueAt(const Clip& clip)
{
    // The last part's sound stage stopped the track as it ended, and its run's stop flag is gone.
    stopped_ = false;
    runStop_ = nullptr;
    Span& span = spans_.front();
    span.filled -= span.count;
    span.clip = clip;
    span.offset = 0.0;
    total_ = clip.length();
}

bool SoundTrack::setOutput(const AVCodecContext* encoder, bool padLast, bool leadListed, std::string* error)
{
    if (!sameOutput(encoder) && !makeQueue(encoder, error))
        return false;
    frameSize_ = encoder->frame_size > 0 ? encoder->frame_size : 1024;
    padLast_ = padLast;
    for (Span& span : spans_) {
        span.first = std::llround(span.offset * rate_);
        span.count = std::llround((span.offset + span.clip.length()) * rate_) - span.first;
    }
    totalSamples_ = std::llround(total_ * rate_);
    written_ = 0;
    current_ = 0;
    // Windows Media Audio decoders leave out the priming themselves.
    const bool primingHeard =
        !leadListed && encoder->codec_id != AV_CODEC_ID_WMAV1 && encoder->codec_id != AV_CODEC_ID_WMAV2;
    lead_ = primingHeard && encoder->initial_padding > 0 && totalSamples_ > 2 * std::int64_t(encoder->initial_padding)
                ? encoder->initial_padding
                : 0;
    return true;
}

// A track that goes on from the last part keeps its queue and resampler for an output like
// the last one.
bool SoundTrack::sameOutput(const AVCodecContext* encoder) const
{
    return fifo_ && rate_ == encoder->sample_rate && format_ == encoder->sample_fmt &&
           av_channel_layout_compare(&layout_, &encoder->ch_layout) == 0;
}

// Samples read ahead in another format are given up: the next frame's time places the sound.
bool SoundTrack::makeQueue(const AVCodecContext* encoder, std::string* error)
{
    rate_ = encoder->sample_rate;
    format_ = encoder->sample_fmt;
    av_channel_layout_uninit(&layout_);
    if (av_channel_layout_copy(&layout_, &encoder->ch_layout) < 0) {
        *error = "out of memory";
        return false;
    }
    const int frameSize = encoder->frame_size > 0 ? encoder->frame_size : 1024;
    fifo_.reset(av_audio_fifo_alloc(format_, layout_.nb_channels, frameSize * 4));
    if (!fifo_ || !converter_.setOutput(layout_, format_, rate_)) {
        *error = "out of memory";
        return false;
    }
    for (Span& span : spans_)
        span.filled = 0;
    return true;
}

bool SoundTrack::stopRequested() const
{
    return stopped_.load(std::memory_order_relaxed) || (runStop_ && runStop_->load(std::memory_order_relaxed));
}

ff::Frame SoundTrack::next(std::string* error)
{
    while (av_audio_fifo_size(fifo_.get()) < frameSize_ + lead_ && current_ < spans_.size()) {
        if (stopRequested()) {
            *error = "stopped";
            return nullptr;
        }
        Span& span = spans_[current_];
        if (span.filled >= span.count) {
            if (current_ + 1 == spans_.size())
                break;  // the last span's reading may go on into a next part
            span.decoder.reset();
            converter_.reset();
            ++current_;
            continue;
        }
        if (!fillFrom(span, error))
            return nullptr;
    }
    skipLead();
    const int available = av_audio_fifo_size(fifo_.get());
    const int take = int(std::min<std::int64_t>(std::min(frameSize_, available), totalSamples_ - written_));
    if (take <= 0)
        return nullptr;
    ff::Frame frame = ff::makeFrame();
    if (!frame) {
        *error = "out of memory";
        return nullptr;
    }
    frame->nb_samples = padLast_ ? frameSize_ : take;
    frame->format = format_;
    frame->sample_rate = rate_;
    if (av_channel_layout_copy(&frame->ch_layout, &layout_) < 0 || av_frame_get_buffer(frame.get(), 0) < 0) {
        *error = "out of memory";
        return nullptr;
    }
    av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(frame->data), take);
    if (take < frame->nb_samples)
        av_samples_set_silence(frame->data, take, frame->nb_samples - take, layout_.nb_channels, format_);
    frame->pts = written_;
    written_ += take;
    return frame;
}

// Encoders that start with silence of their own (the priming of MP3 and AC-3) push the sound
// late by that much in every container that cannot tell a player to skip it. The track's own
// first samples give way to it: they count as written, and the first frame's time is where the
// priming ends, so the encoder's packets start at 0 and the sound decodes where it belongs.
void SoundTrack::skipLead()
{
    const int dropped = std::min<int>(int(lead_), av_audio_fifo_size(fifo_.get()));
    if (dropped <= 0)
        return;
    av_audio_fifo_drain(fifo_.get(), dropped);
    lead_ -= dropped;
    written_ += dropped;
}

// Adds the next piece of a span to the queue: decoded sound, or silence where the file has
// none.
bool SoundTrack::fillFrom(Span& span, std::string* error)
{
    const std::int64_t missing = span.count - span.filled;
    if (!span.decoder)
        return putSilence(span, std::min(missing, kSilenceChunk)) || (*error = "out of memory", false);
    if (span.decoder->next(decoded_.get())) {
        const bool ok = convertFrame(span, decoded_.get(), error);
        av_frame_unref(decoded_.get());
        return ok;
    }
    if (span.decoder->failed()) {
        *error = span.clip.path + ": " + span.decoder->error();
        return false;
    }
    if (!span.flushed) {
        span.flushed = true;
        const AVFrame* tail = converter_.drain(error);
        if (!error->empty())
            return false;
        return !tail || putConverted(span, tail) || (*error = "out of memory", false);
    }
    if (missing > std::llround(span.clip.shortfallAllowed() * rate_)) {
        *error = SourceReasons::cutShort(span.clip.path, "sound", span.clip.start + double(span.filled) / rate_,
                                       span.clip.end);
        return false;
    }
    return putSilence(span, std::min(missing, kSilenceChunk)) || (*error = "out of memory", false);
}

// Sound follows its timestamps: where a frame's time lies ahead of the sound so far (a packet
// lost in a recording, a damaged one skipped) the gap is filled with silence, and where it lies
// behind, the overlap is dropped. Small differences are timestamp rounding and left alone.
bool SoundTrack::placeFrame(Span& span, const AVFrame* frame)
{
    const double time = span.decoder->timeOf(frame);
    if (time < 0)
        return true;
    const std::int64_t due = std::llround((time - span.clip.start) * rate_);
    const std::int64_t reached = span.filled + converter_.delay() - span.drop;
    const std::int64_t drift = due - reached;
    const bool first = !span.started;
    span.started = true;
    if (!first && std::llabs(drift) <= rate_ / kJitterPerSecond)
        return true;
    if (drift < 0) {
        span.drop -= drift;
        return true;
    }
    return putSilence(span, drift);
}

bool SoundTrack::convertFrame(Span& span, const AVFrame* frame, std::string* error)
{
    if (!placeFrame(span, frame))
        return *error = "out of memory", false;
    const AVFrame* converted = converter_.convert(*frame, error);
    if (!converted) {
        *error = span.clip.path + ": " + *error;
        return false;
    }
    return putConverted(span, converted) || (*error = "out of memory", false);
}

bool SoundTrack::putConverted(Span& span, const AVFrame* converted)
{
    const int n = converted->nb_samples;
    const std::int64_t skip = std::min<std::int64_t>(span.drop, n);
    span.drop -= skip;
    return put(span, converted->extended_data, n, skip);
}

// Samples past the last span's end stay in the queue, where a next part of the same file
// starts with them.
bool SoundTrack::put(Span& span, uint8_t** data, int samples, std::int64_t skip)
{
    const bool last = &span == &spans_.back();
    const std::int64_t take = last ? samples - skip : std::min<std::int64_t>(samples - skip, span.count - span.filled);
    if (take <= 0)
        return true;
    const int bytes = av_get_bytes_per_sample(format_);
    const bool planar = av_sample_fmt_is_planar(format_);
    const int planes = planar ? layout_.nb_channels : 1;
    const std::int64_t offset = skip * bytes * (planar ? 1 : layout_.nb_channels);
    uint8_t* shifted[AV_NUM_DATA_POINTERS] = {};
    for (int p = 0; p < planes && p < AV_NUM_DATA_POINTERS; ++p)
        shifted[p] = data[p] + offset;
    if (av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(shifted), int(take)) < take)
        return false;
    span.filled += take;
    return true;
}

bool SoundTrack::putSilence(Span& span, std::int64_t samples)
{
    samples = std::min(samples, span.count - span.filled);
    while (samples > 0) {
        const int chunk = int(std::min(samples, kSilenceChunk));
        uint8_t** data = nullptr;
        if (av_samples_alloc_array_and_samples(&data, nullptr, layout_.nb_channels, chunk, format_, 0) < 0)
            return false;
        av_samples_set_silence(data, 0, chunk, layout_.nb_channels, format_);
        const int written = av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(data), chunk);
        av_freep(&data[0]);
        av_freep(&data);
        if (written < chunk)
            return false;
        span.filled += chunk;
        samples -= chunk;
    }
    return true;
}
