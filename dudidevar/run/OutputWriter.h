// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/plan/OutputPlan.h"
#include "dudidevar/run/StreamEncoder.h"

// The muxer of one output file, opened from a plan with its encoders and the header written.
// Packets are written on one thread; a stream's encoder may run on a thread of its own.
class OutputWriter {
public:
    bool open(const OutputPlan& plan, const std::string& path, std::string* error);

    StreamEncoder& picture() { return picture_; }
    StreamEncoder& sound() { return sound_; }
    // Before open: the output also gets a subtitle track from that encoder (not owned), tagged
    // with the language when there is one.
    void keepTextTrack(const AVCodecContext* encoder, std::string language)
    {
        textEncoder_ = encoder;
        textLanguage_ = std::move(language);
    }
    // Writes a packet of the subtitle track, timed in `timeBase`.
    bool writeText(AVPacket* packet, AVRational timeBase, std::string* error);
    // Encodes a frame with the stream's encoder and writes what it gives back.
    bool write(StreamEncoder& stream, const AVFrame* frame, std::string* error);
    bool writePacket(AVPacket* packet, std::string* error);
    // Drains the encoders, writes the trailer and closes the file; false when anything of it
    // could not be written.
    bool finish(std::string* error);
    // The name write failures are reported under: the target, not the temporary file.
    void setShownName(std::string name) { shownName_ = std::move(name); }

private:
    bool writeFailure(std::string* error, int code) const;
    bool addStream(ff::CodecContext encoder, StreamEncoder* stream, std::string* error);
    bool addTextStream(std::string* error);
    bool writeHeader(const OutputPlan& plan, const std::string& path, std::string* error);

    ff::OutputContext output_;
    StreamEncoder picture_;
    StreamEncoder sound_;
    const AVCodecContext* textEncoder_ = nullptr;
    std::string textLanguage_;
    AVStream* text_ = nullptr;
    bool smallWav_ = false;  // a WAV file whose header can only describe 4 GiB
    std::string shownName_;
};
