// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/preview/PreviewSoundTrack.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {
// Sound is produced in pieces of at most a tenth of a second.
constexpr int kPiecesPerSecond = 10;
// Timestamps this close to where the sound already stands are taken as continuous.
constexpr int kJitterPerSecond = 50;
}  // namespace

bool PreviewSoundTrack::open(const std::vector<Clip>& clips, double totalSeconds, int sampleRate, int channels)
{
    sampleRate_ = sampleRate;
    channels_ = channels;
    spans_.clear();
    for (const Clip& clip : clips) {
        Span span{clip, std::make_unique<SpanDecoder>()};
        std::string error;
        if (span.decoder->open(clip.path, AVMEDIA_TYPE_AUDIO, &error))
            span.decoder->seekBefore(clip.start);
        else if (span.decoder->missingStream())
            span.decoder.reset();
        else
            return false;
        spans_.push_back(std::move(span));
    }
    frame_ = ff::makeFrame();
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, channels_);
    const bool converting = converter_.setOutput(layout, AV_SAMPLE_FMT_S16, sampleRate_);
    av_channel_layout_uninit(&layout);
    if (!frame_ || !converting)
        return false;
    current_ = 0;
    written_ = 0;
    spanWritten_ = 0;
    spanWanted_ = spans_.empty() ? 0 : std::llround(spans_.front().clip.length() * sampleRate_);
    totalWanted_ = std::llround(totalSeconds * sampleRate_);
    return true;
}

bool PreviewSoundTrack::produce(QByteArray& out)
{
    const std::int64_t piece = sampleRate_ / kPiecesPerSecond;
    if (current_ < spans_.size()) {
        Span& span = spans_[current_];
        if (spanWritten_ >= spanWanted_)
            nextSpan();
        else if (!span.decoder || !produceFromSpan(span, out))
            appendSilence(std::min(piece, spanWanted_ - spanWritten_), out);
        return true;
    }
    if (written_ >= totalWanted_)
        return false;
    appendSilence(std::min(piece, totalWanted_ - written_), out);
    return true;
}

void PreviewSoundTrack::nextSpan()
{
    spans_[current_].decoder.reset();
    converter_.reset();
    ++current_;
    spanWritten_ = 0;
    spanWanted_ = current_ < spans_.size() ? std::llround(spans_[current_].clip.length() * sampleRate_) : 0;
}

bool PreviewSoundTrack::produceFromSpan(Span& span, QByteArray& out)
{
    if (!span.decoder->next(frame_.get())) {
        span.decoder.reset();  // the rest of the span is silence
        return false;
    }
    const double time = span.decoder->timeOf(frame_.get());
    std::int64_t skip = 0;
    if (time >= 0.0) {
        const std::int64_t drift = std::llround((time - span.clip.start) * sampleRate_) - spanWritten_;
        if (spanWritten_ == 0 || std::llabs(drift) > sampleRate_ / kJitterPerSecond) {
            if (drift > 0)
                appendSilence(std::min(drift, spanWanted_ - spanWritten_), out);
            else
                skip = -drift;
        }
    }
    QByteArray converted;
    if (!convert(*frame_, converted))
        return true;  // a frame that cannot be converted is passed over
    const int bytesPerSample = 2 * channels_;
    const std::int64_t count = converted.size() / bytesPerSample;
    const std::int64_t take = std::min(count - skip, spanWanted_ - spanWritten_);
    if (take > 0)
        appendSamples(converted.constData() + skip * bytesPerSample, take, out);
    av_frame_unref(frame_.get());
    return true;
}

bool PreviewSoundTrack::convert(const AVFrame& frame, QByteArray& out)
{
    std::string error;
    const AVFrame* converted = converter_.convert(frame, &error);
    if (!converted)
        return false;
    out = QByteArray(reinterpret_cast<const char*>(converted->data[0]), qsizetype(converted->nb_samples) * 2 * channels_);
    return true;
}

void PreviewSoundTrack::appendSilence(std::int64_t samples, QByteArray& out)
{
    if (samples <= 0)
        return;
    out.append(QByteArray(qsizetype(samples) * 2 * channels_, '\0'));
    spanWritten_ += samples;
    written_ += samples;
}

void PreviewSoundTrack::appendSamples(const char* data, std::int64_t samples, QByteArray& out)
{
    out.append(data, qsizetype(samples) * 2 * channels_);
    spanWritten_ += samples;
    written_ += samples;
}
