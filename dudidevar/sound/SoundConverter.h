// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "dudidevar/base/FfmpegOwners.h"

// Turns decoded sound into one sample format, rate and channel layout. The resampler is made
// for the format of the frames that come in and made anew when they change format, rate or
// channels (recordings switch between surround and stereo); what the old one still held is
// passed on before the new frame's samples.
class SoundConverter {
public:
    SoundConverter() = default;
    ~SoundConverter();
    SoundConverter(const SoundConverter&) = delete;
    SoundConverter& operator=(const SoundConverter&) = delete;

    bool setOutput(const AVChannelLayout& layout, AVSampleFormat format, int rate);
    // The frame's samples in the output format; valid until the next call. Null with the
    // reason when the sound cannot be converted.
    const AVFrame* convert(const AVFrame& frame, std::string* error);
    // What the resampler still holds, at the end of a sound; null when it holds nothing.
    const AVFrame* drain(std::string* error);
    // Output samples held inside the resampler, not yet given out.
    std::int64_t delay() const;
    // Forgets the resampler, for a sound that does not continue the last one.
    void reset() { swr_.reset(); }

private:
    bool inputChanged(const AVFrame& frame, const AVChannelLayout& layout) const;
    bool rebuild(const AVFrame& frame, AVChannelLayout& layout, std::string* error);
    bool allocate(ff::Frame& target, int capacity);
    int run(const uint8_t* const* input, int count, int offset);

    ff::Swr swr_;
    AVChannelLayout outLayout_{};
    AVSampleFormat outFormat_ = AV_SAMPLE_FMT_S16;
    int outRate_ = 44100;
    AVChannelLayout inLayout_{};
    int inRate_ = 0;
    int inFormat_ = -1;
    ff::Frame out_;
    ff::Frame held_;  // the old resampler's tail while the new one is made
};
