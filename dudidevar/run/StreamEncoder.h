// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "dudidevar/base/FfmpegOwners.h"

// One encoder of an output and the stream it fills: frames go in, packets come out with the
// stream's index and times, ready for the muxer. Safe to use on a thread other than the one
// that writes the file.
class StreamEncoder {
public:
    StreamEncoder() = default;
    StreamEncoder(ff::CodecContext encoder, AVStream* stream);

    bool opened() const { return encoder_ != nullptr; }
    const AVCodecContext* context() const { return encoder_.get(); }
    AVRational streamTimeBase() const { return stream_->time_base; }
    // Encodes a frame (null: the end, which drains the encoder) and adds what the encoder gives
    // back to `packets`.
    bool encode(const AVFrame* frame, std::vector<ff::Packet>* packets, std::string* error);

private:
    ff::CodecContext encoder_;
    AVStream* stream_ = nullptr;
};
