// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "dudidevar/source/Clip.h"
#include "dudidevar/base/FfmpegOwners.h"

class ProbeShelf;

// One stream of one file, opened, positioned at a span's start and decoded forward. Times are
// seconds from the start of the file. Used by the video and the sound readers.
class SpanDecoder {
public:
    // Opens the file's main stream of the type; false with the reason when the file cannot be
    // read or has no such stream (missingStream() tells the two apart). The decoder itself is
    // opened when the first frame is asked for. A file on the shelf of probes is taken from there.
    bool open(const std::string& path, AVMediaType type, std::string* error, ProbeShelf* probes = nullptr);
    // The same for a file that another reader of the run has opened and probed as `probed`:
    // its stream is checked there, and the file is opened for this reader only when it is first
    // read, on the thread that reads it, without probing it again.
    bool openLater(const std::string& path, AVFormatContext* probed, AVMediaType type, std::string* error);
    // Decodes the stream of that index instead of the file's main one; before open().
    void useStreamIndex(int index) { wanted_ = index; }
    // Goes to a little before the time, so that decoding forward reaches the frame shown then.
    void seekBefore(double time);
    // The next decoded frame into `frame`; false at the end of the stream or on an error that
    // cannot be skipped (then failed() is true and error() says why). Damaged packets are
    // passed over and counted; more than 5% of the packets, or damage over a whole second of
    // the stream, fail.
    bool next(AVFrame* frame);
    // The time a decoded frame is shown at.
    double timeOf(const AVFrame* frame) const;
    std::int64_t damagedPackets() const { return damaged_; }
    // The sound channels of the stream (0 for a picture).
    int channels() const { return channels_; }

    bool missingStream() const { return missingStream_; }
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    AVFormatContext* input() const { return input_.get(); }
    AVStream* stream() const { return stream_; }
    AVCodecContext* decoder() const { return decoder_.get(); }

private:
    bool ready();
    bool openPostponed();
    void rememberProbe(const AVFormatContext* probed, int index);
    bool reopenAsProbed(const std::string& path);
    // Takes the stream of the type in input_ for decoding.
    bool useStream(const std::string& path, AVMediaType type, std::string* error);
    void rewind();
    void restart();
    bool landedBefore(const AVFrame* frame);
    bool feed();
    // Counts a damaged packet at a time of the stream; false (and failed()) when the damage
    // has grown too large to pass over.
    bool passOverDamage(double time);
    bool damageTooLarge() const;
    double packetTime(const AVPacket* packet) const;
    void fillMissingStamp(AVFrame* frame);
    std::int64_t stampStep(const AVFrame* frame) const;
    bool isVideo() const;

    ff::InputContext input_;
    ff::CodecContext decoder_;
    ff::Packet packet_;
    const AVCodec* codec_ = nullptr;  // set while the decoder is still to be opened
    double pendingSeek_ = 0.0;
    // The span start a seek was made for, until the first frame shows where it landed.
    double landingToCheck_ = -1.0;
    AVStream* stream_ = nullptr;
    double startOffset_ = 0.0;
    std::int64_t lastStamp_ = AV_NOPTS_VALUE;
    std::int64_t shift_ = 0;  // added to the times of a run that followed a break
    bool draining_ = false;
    std::int64_t packets_ = 0;
    std::int64_t damaged_ = 0;
    double damageStart_ = -1.0;  // time of the first damaged packet of the current run of them
    double lastPacketTime_ = 0.0;
    bool missingStream_ = false;
    int channels_ = 0;
    int wanted_ = -1;
    std::string postponedPath_;  // set while the file is still to be opened
    AVMediaType postponedType_ = AVMEDIA_TYPE_UNKNOWN;
    ff::CodecParameters probedParameters_;
    const AVInputFormat* probedFormat_ = nullptr;
    unsigned probedStreams_ = 0;
    std::int64_t probedStart_ = AV_NOPTS_VALUE;
    std::string error_;
};
