// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dudidevar/source/ChosenStreams.h"
#include "dudidevar/source/Clip.h"
#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/sound/SoundConverter.h"
#include "dudidevar/source/SpanDecoder.h"

// The audio spans of a clip list as one sound track in the encoder's sample format, rate and
// channels. Span i fills exactly the samples from round(offset × rate) to round(end × rate), and
// every sample lands at its time, so the track stays in step with the picture: a source that
// starts late or has a gap is filled with silence, a file without sound gives silence of its
// span's length, and one whose sound ends early fails like a picture that ends early.
class SoundTrack {
public:
    SoundTrack() = default;
    ~SoundTrack();
    SoundTrack(const SoundTrack&) = delete;
    SoundTrack& operator=(const SoundTrack&) = delete;

    // The sound track each source gives (before open): by default the one its file marks.
    void chooseTrack(const TrackChoice& choice) { choice_ = choice; }
    // requireSound: a file without sound is an error instead of silence. soundOnly: no picture
    // goes along, so a span ends where its file's sound ends when that comes before its end.
    // probed: files the run has already opened and probed (for its picture), by path; their
    // sound is read from files opened again only when each span's turn comes. Without a picture,
    // files probed already are taken from the shelf of probes.
    bool open(const std::vector<Clip>& clips, bool requireSound, bool soundOnly,
              const std::map<std::string, AVFormatContext*>& probed, std::string* error, ProbeShelf* probes = nullptr);
    // Whether the reading of the track's one span can go on into a clip that follows it in the
    // same file (it has not failed).
    bool readsOn() const;
    // Makes the track the one of the clip that follows its span in the same file: the decoder
    // and the resampler go on as they were, and the samples already read past the span's end
    // start the new one. Before setOutput, which keeps them when the output's sample format, rate
    // and channels stay the same.
    void continueAt(const Clip& clip);
    // padLast: the last frame is filled up with silence to a whole frame. leadListed: the
    // container tells players to skip the encoder's lead-in (an MP4's edit list), so every
    // sample of the sources is kept; elsewhere the first ones give way to it.
    bool setOutput(const AVCodecContext* encoder, bool padLast, bool leadListed, std::string* error);

    // The most channels any span's sound has; 0 when none has sound.
    int sourceChannels() const;
    double totalSeconds() const { return total_; }
    double secondsDone() const { return double(written_) / rate_; }
    bool finished() const { return written_ >= totalSamples_; }
    // The next frame for the encoder (pts = its first sample's number), or null when the track
    // is complete or failed (then *error is set).
    ff::Frame next(std::string* error);
    // A decode under way ends within a frame with the reason "stopped" once the run's stop flag
    // is set, or once stop() is called from another thread (the sound stage ending early); a
    // forward decode from a seek point far before a span's start is no exception.
    void watchStopFlag(const std::atomic<bool>* runStop) { runStop_ = runStop; }
    void stop() { stopped_ = true; }

private:
    struct Span {
        Clip clip;
        std::int64_t first = 0;  // first sample in the output
        std::int64_t count = 0;  // samples of the span in the output
        std::int64_t filled = 0;
        std::unique_ptr<SpanDecoder> decoder;  // null: silence
        bool started = false;
        bool flushed = false;
        std::int64_t drop = 0;  // converted samples still to drop before the span's start
        double offset = 0.0;
    };

    bool openSpan(Span& span, bool requireSound, bool soundOnly, const std::map<std::string, AVFormatContext*>& probed,
                  ProbeShelf* probes, std::string* error);
    bool fillFrom(Span& span, std::string* error);
    bool placeFrame(Span& span, const AVFrame* frame);
    bool convertFrame(Span& span, const AVFrame* frame, std::string* error);
    bool putConverted(Span& span, const AVFrame* converted);
    bool put(Span& span, uint8_t** data, int samples, std::int64_t skip);
    bool putSilence(Span& span, std::int64_t samples);
    void skipLead();
    bool sameOutput(const AVCodecContext* encoder) const;
    bool makeQueue(const AVCodecContext* encoder, std::string* error);
    bool stopRequested() const;

    TrackChoice choice_;
    ChosenStreams chosen_;
    std::vector<Span> spans_;
    std::size_t current_ = 0;
    double total_ = 0.0;
    int rate_ = 44100;
    AVSampleFormat format_ = AV_SAMPLE_FMT_S16;
    AVChannelLayout layout_{};
    int frameSize_ = 1024;
    bool padLast_ = false;
    std::int64_t totalSamples_ = 0;
    std::int64_t written_ = 0;
    std::int64_t lead_ = 0;  // first samples left out for the encoder's own priming
    ff::AudioFifo fifo_;
    SoundConverter converter_;
    ff::Frame decoded_;
    const std::atomic<bool>* runStop_ = nullptr;
    std::atomic<bool> stopped_{false};
};
