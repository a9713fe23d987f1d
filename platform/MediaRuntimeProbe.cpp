// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MediaRuntimeProbe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
}

namespace MediaRuntimeProbe {

namespace {

using Kind = Requirement::Kind;

bool present(const Requirement& r)
{
    switch (r.kind) {
    case Kind::Decoder: return avcodec_find_decoder_by_name(r.name) != nullptr;
    case Kind::Encoder: return avcodec_find_encoder_by_name(r.name) != nullptr;
    case Kind::Muxer: return av_guess_format(r.name, nullptr, nullptr) != nullptr;
    case Kind::Demuxer: return av_find_input_format(r.name) != nullptr;
    case Kind::Filter: return avfilter_get_by_name(r.name) != nullptr;
    }
    return false;
}

const char* kindName(Kind kind)
{
    switch (kind) {
    case Kind::Decoder: return "decoder";
    case Kind::Encoder: return "encoder";
    case Kind::Muxer: return "muxer";
    case Kind::Demuxer: return "demuxer";
    case Kind::Filter: return "filter";
    }
    return "component";
}

}  // namespace

const std::vector<Requirement>& requirements()
{
    static const std::vector<Requirement> list = {
        {Kind::Demuxer, "mpeg"}, {Kind::Demuxer, "avi"}, {Kind::Demuxer, "asf"},
        {Kind::Decoder, "mpeg1video"}, {Kind::Decoder, "mpeg2video"}, {Kind::Decoder, "mpeg4"},
        {Kind::Decoder, "msmpeg4"}, {Kind::Decoder, "wmv1"}, {Kind::Decoder, "wmv2"},
        {Kind::Decoder, "wmv3"}, {Kind::Decoder, "h264"}, {Kind::Decoder, "mjpeg"},
        {Kind::Decoder, "mp2"}, {Kind::Decoder, "mp3"}, {Kind::Decoder, "ac3"},
        {Kind::Decoder, "wmav2"}, {Kind::Decoder, "pcm_s16le"},
        {Kind::Encoder, "mpeg1video"}, {Kind::Encoder, "mpeg2video"}, {Kind::Encoder, "mpeg4"},
        {Kind::Encoder, "libxvid"}, {Kind::Encoder, "libx264"}, {Kind::Encoder, "mjpeg"},
        {Kind::Encoder, "huffyuv"}, {Kind::Encoder, "wmv2"}, {Kind::Encoder, "wmav2"},
        {Kind::Encoder, "mp2"}, {Kind::Encoder, "libmp3lame"}, {Kind::Encoder, "ac3"},
        {Kind::Encoder, "pcm_s16le"}, {Kind::Encoder, "pcm_u8"}, {Kind::Encoder, "pcm_s24le"},
        {Kind::Encoder, "pcm_s32le"}, {Kind::Encoder, "bmp"},
        {Kind::Muxer, "vcd"}, {Kind::Muxer, "svcd"}, {Kind::Muxer, "dvd"}, {Kind::Muxer, "vob"},
        {Kind::Muxer, "avi"}, {Kind::Muxer, "asf"}, {Kind::Muxer, "wav"},
    };
    return list;
}

std::vector<std::string> missingComponents()
{
    std::vector<std::string> missing;
    for (const Requirement& r : requirements()) {
        if (!present(r))
            missing.push_back(std::string(kindName(r.kind)) + ' ' + r.name);
    }
    return missing;
}

}  // namespace MediaRuntimeProbe
