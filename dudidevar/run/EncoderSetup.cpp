// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/EncoderSetup.h"

#include <cstring>

#include "dudidevar/base/CodecThreads.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace {

ff::CodecContext fail(std::string* error, const std::string& what, int code)
{
    *error = what + ": " + ff::errorText(code);
    return nullptr;
}

// The named encoder's context, not yet opened.
ff::CodecContext allocate(const std::string& name, std::string* error)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(name.c_str());
    if (!codec) {
        *error = "the media libraries have no " + name + " encoder";
        return nullptr;
    }
    ff::CodecContext encoder(avcodec_alloc_context3(codec));
    if (!encoder)
        return fail(error, "out of memory", AVERROR(ENOMEM));
    return encoder;
}

void applyRateControl(AVCodecContext* c, const PicturePlan& plan)
{
    if (plan.gop > 0)
        c->gop_size = plan.gop;
    c->bit_rate = plan.bitRate;
    c->rc_min_rate = plan.minRate;
    c->rc_max_rate = plan.maxRate;
    c->rc_buffer_size = plan.bufferSize;
    if (plan.quantiser > 0) {
        c->flags |= AV_CODEC_FLAG_QSCALE;
        c->global_quality = int(plan.quantiser * FF_QP2LAMBDA + 0.5);
    }
    if (plan.crf >= 0)
        av_opt_set_int(c->priv_data, "crf", plan.crf, 0);
    if (plan.scanOffset)
        av_opt_set_int(c->priv_data, "scan_offset", 1, 0);
    if (plan.level > 0)
        c->level = plan.level;
    if (plan.codecTag && std::strlen(plan.codecTag) == 4)
        c->codec_tag = MKTAG(plan.codecTag[0], plan.codecTag[1], plan.codecTag[2], plan.codecTag[3]);
}

}  // namespace

ff::CodecContext EncoderSetup::openPicture(const PicturePlan& plan, bool globalHeader, std::string* error)
{
    ff::CodecContext encoder = allocate(plan.encoder, error);
    if (!encoder)
        return nullptr;
    AVCodecContext* c = encoder.get();
    const AVCodec* codec = c->codec;
    c->width = plan.width;
    c->height = plan.height;
    c->pix_fmt = plan.pixelFormat;
    c->framerate = plan.frameRate;
    c->time_base = av_inv_q(plan.frameRate);
    c->sample_aspect_ratio = plan.sampleAspect;
    CodecThreads::apply(c, CodecThreads::forEncoder(codec, plan.height, CodecThreads::cores()));
    applyRateControl(c, plan);
    if (globalHeader)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    for (const auto& [name, value] : plan.options)
        av_dict_set(&options, name.c_str(), value.c_str(), 0);
    const int rc = avcodec_open2(c, codec, &options);
    std::unique_ptr<AVDictionary, ff::DictionaryDeleter> unused(options);
    if (rc < 0)
        return fail(error, "cannot open the " + plan.encoder + " encoder", rc);
    if (const AVDictionaryEntry* left = av_dict_get(unused.get(), "", nullptr, AV_DICT_IGNORE_SUFFIX)) {
        *error = "the " + plan.encoder + " encoder has no option " + left->key;
        return nullptr;
    }
    return encoder;
}

ff::CodecContext EncoderSetup::openSound(const SoundPlan& plan, bool globalHeader, std::string* error)
{
    ff::CodecContext encoder = allocate(plan.encoder, error);
    if (!encoder)
        return nullptr;
    AVCodecContext* c = encoder.get();
    const AVCodec* codec = c->codec;
    c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c->sample_rate = plan.sampleRate;
    av_channel_layout_default(&c->ch_layout, plan.channels);
    c->bit_rate = plan.bitRate;
    c->time_base = AVRational{1, plan.sampleRate};
    if (globalHeader)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int rc = avcodec_open2(c, codec, nullptr);
    if (rc < 0)
        return fail(error, "cannot open the " + plan.encoder + " encoder", rc);
    return encoder;
}
