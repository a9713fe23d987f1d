// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dudidevar/source/Clip.h"
#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/sound/SoundConverter.h"
#include "dudidevar/source/SpanDecoder.h"

// The sound spans of a clip list, joined, as signed 16-bit interleaved samples at one rate and
// channel count. A span of a file without sound, or one that ends early, is silence of the
// span's length; the whole track is padded with silence to the length asked for.
class PreviewSoundTrack {
public:
    PreviewSoundTrack() = default;
    ~PreviewSoundTrack() = default;
    PreviewSoundTrack(const PreviewSoundTrack&) = delete;
    PreviewSoundTrack& operator=(const PreviewSoundTrack&) = delete;

    // Opens every span's file; false when one cannot be read at all.
    bool open(const std::vector<Clip>& clips, double totalSeconds, int sampleRate, int channels);
    // Appends the next piece of sound; false once the track is complete.
    bool produce(QByteArray& out);

private:
    struct Span {
        Clip clip;
        std::unique_ptr<SpanDecoder> decoder;  // null: the file has no sound
    };

    bool produceFromSpan(Span& span, QByteArray& out);
    bool convert(const AVFrame& frame, QByteArray& out);
    void appendSilence(std::int64_t samples, QByteArray& out);
    void appendSamples(const char* data, std::int64_t samples, QByteArray& out);
    void nextSpan();

    std::vector<Span> spans_;
    std::size_t current_ = 0;
    std::int64_t spanWanted_ = 0;   // samples of the current span
    std::int64_t spanWritten_ = 0;
    std::int64_t written_ = 0;      // samples of the whole track
    std::int64_t totalWanted_ = 0;
    int sampleRate_ = 44100;
    int channels_ = 2;
    ff::Frame frame_;
    SoundConverter converter_;
};
