#pragma once

#include <string>
#include <vector>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/plan/OutputPlan.h"

// The muxer and encoders of one output file, opened from a plan with the header written.
class OutputWriter {
public:
    bool open(const OutputPlan& plan, const std::string& path, std::string* error);

    AVCodecContext* videoEncoder() const { return video_.get(); }
    AVCodecContext* audioEncoder() const { return audio_.get(); }
    AVRational audioStreamTimeBase() const { return audioStream_->time_base; }
    // Encodes a frame and writes what the encoder gives back.
    bool writeVideo(const AVFrame* frame, std::string* error);
    bool writeAudio(const AVFrame* frame, std::string* error);
    // For sound encoded on a thread of its own: encodes a frame (null: the end, drains the
    // encoder) into packets with the output stream's index and times, and writes such a packet
    // on the thread that writes the rest of the file.
    bool encodeSound(const AVFrame* frame, std::vector<ff::Packet>* packets, std::string* error);
    bool writePacket(AVPacket* packet, std::string* error);
    // Drains the encoders, writes the trailer and closes the file; false when anything of it
    // could not be written.
    bool finish(std::string* error);
    // The name write failures are reported under: the target, not the temporary file.
    void setShownName(std::string name) { shownName_ = std::move(name); }

private:
    bool writeFailure(std::string* error, int code) const;
    bool openVideo(const VideoPlan& plan, std::string* error);
    bool openAudio(const AudioPlan& plan, std::string* error);
    bool addStream(AVCodecContext* encoder, AVStream** stream, std::string* error);
    bool encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame, std::string* error);
    bool encodeInto(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame, std::vector<ff::Packet>* packets,
                    std::string* error);

    ff::OutputContext output_;
    ff::CodecContext video_;
    ff::CodecContext audio_;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    bool smallWav_ = false;  // a WAV file whose header can only describe 4 GiB
    std::string shownName_;
};
