// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/source/SourceShape.h"

// Finds the picture shown at a given time of a video file. The file stays open between calls:
// a later time on the same file decodes forward from where the last call stopped; an earlier
// time, or one far ahead, seeks to the key frame before it and decodes forward from there.
class FrameGrabber {
public:
    // Times up to this far past the last picture are reached by decoding forward.
    static constexpr double kForwardDecodeSeconds = 3.0;

    // The last picture still answers for times this far past its end, or half its own length
    // when that is more: the end of the image tool's range is shown to one decimal, and a file's
    // sound often outlasts its picture by a few hundredths of a second.
    static constexpr double kLastPictureHeldSeconds = 0.05;

    // The frame displayed at `seconds` from the start of the file (the last frame whose time
    // is not after it). Null when the file has no readable video or the time lies outside it
    // (past the end of the last picture by more than it is held).
    // The frame stays valid until the next call.
    const AVFrame* frameAt(const std::string& path, double seconds);
    void close();
    // The shape of a frame of the open file: its size, pixel shape and turn.
    SourceShape shapeOf(const AVFrame* frame) const;
    // The length of the open file as its container states it; 0 when it does not, or no file is open.
    double durationSeconds() const { return input_ ? durationSeconds_ : 0.0; }

    // While `*stop` is true, frameAt gives up between two decoded frames and answers with what it
    // has, which need not be the frame asked for; the position stays sound for the next call.
    void setStop(const std::atomic<bool>* stop) { stop_ = stop; }

    // How often a file was opened and a seek was made; lets callers see the decoder reused.
    int openCount() const { return openCount_.load(); }
    int seekCount() const { return seekCount_.load(); }
    // Packets passed over undecoded: a key frame at or before the time asked for made them needless.
    int skippedCount() const { return skippedCount_.load(); }

private:
    bool open(const std::string& path);
    bool reopen();
    std::int64_t toStreamTime(double seconds) const;
    bool canDecodeForwardTo(std::int64_t target) const;
    bool seekBefore(std::int64_t target, double backSeconds);
    bool findFrameBySeeking(std::int64_t target);
    void decodeForwardTo(std::int64_t target);
    bool decodeNext(AVFrame* frame);
    bool sendNextPacket();
    std::int64_t keyFrameAtOrBefore(std::int64_t target) const;
    bool needless(const AVPacket& packet) const;
    bool indexHasKeyFrameAt(std::int64_t timestamp) const;
    void stampTime(AVFrame* frame);
    std::int64_t frameDuration(const AVFrame* frame) const;
    bool pastLastFrame(double seconds) const;
    void forgetFrames();
    bool stopped() const { return stop_ && stop_->load(); }

    std::string path_;
    ff::InputContext input_;
    ff::CodecContext decoder_;
    ff::Packet packet_;
    int streamIndex_ = -1;
    int rotation_ = 0;
    AVRational timeBase_{1, 1};
    std::int64_t fileStart_ = 0;     // start of the file in stream time
    std::int64_t nominalFrameDuration_ = 1;
    double durationSeconds_ = 0.0;   // 0 when the container does not know it

    ff::Frame current_;               // last decoded frame not after the last target
    ff::Frame pending_;               // first decoded frame after it, held for the next call
    bool haveCurrent_ = false;
    bool havePending_ = false;
    std::int64_t currentFrom_ = 0;    // earliest time the current frame answers for
    bool atFileStart_ = false;        // nothing has been skipped since the file was opened
    bool demuxerDone_ = false;
    bool decoderDone_ = false;
    std::int64_t lastStamp_ = AV_NOPTS_VALUE;
    bool inDecodeOrder_ = false;      // frames come out in the order they are stored
    std::int64_t skipTo_ = AV_NOPTS_VALUE;  // packets stored before this key frame are needless
    bool indexAgrees_ = false;        // the last key frame read has the time the index gives it

    const std::atomic<bool>* stop_ = nullptr;
    // Read by other threads while a thread of a FrameLookahead decodes.
    std::atomic<int> openCount_{0};
    std::atomic<int> seekCount_{0};
    std::atomic<int> skippedCount_{0};
};
