// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/StreamEncoder.h"

StreamEncoder::StreamEncoder(ff::CodecContext encoder, AVStream* stream) : encoder_(std::move(encoder)), stream_(stream)
{
}

bool StreamEncoder::encode(const AVFrame* frame, std::vector<ff::Packet>* packets, std::string* error)
{
    int rc = avcodec_send_frame(encoder_.get(), frame);
    if (rc < 0 && rc != AVERROR_EOF) {
        *error = "cannot encode: " + ff::errorText(rc);
        return false;
    }
    while (true) {
        ff::Packet packet = ff::makePacket();
        if (!packet) {
            *error = "out of memory: " + ff::errorText(AVERROR(ENOMEM));
            return false;
        }
        rc = avcodec_receive_packet(encoder_.get(), packet.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return true;
        if (rc < 0) {
            *error = "cannot encode: " + ff::errorText(rc);
            return false;
        }
        av_packet_rescale_ts(packet.get(), encoder_->time_base, stream_->time_base);
        packet->stream_index = stream_->index;
        packets->push_back(std::move(packet));
    }
}
