#include "dudidevar/run/OutputWriter.h"

#include <cstring>

#include "dudidevar/base/CodecThreads.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace {

bool fail(std::string* error, const std::string& what, int code)
{
    *error = what + ": " + ff::errorText(code);
    return false;
}

const AVCodec* findEncoder(const std::string& name, std::string* error)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(name.c_str());
    if (!codec)
        *error = "the media libraries have no " + name + " encoder";
    return codec;
}

}  // namespace

bool OutputWriter::open(const OutputPlan& plan, const std::string& path, std::string* error)
{
    AVFormatContext* raw = nullptr;
    int rc = avformat_alloc_output_context2(&raw, nullptr, plan.muxer.c_str(), path.c_str());
    if (rc < 0 || !raw)
        return fail(error, "cannot make a " + plan.muxer + " file", rc);
    output_.reset(raw);
    if (plan.video.enabled && !openVideo(plan.video, error))
        return false;
    if (plan.audio.enabled && !openAudio(plan.audio, error))
        return false;
    if (!videoStream_ && !audioStream_) {
        *error = "the output would hold neither picture nor sound";
        return false;
    }
    AVDictionary* options = nullptr;
    if (plan.packetSize > 0)
        av_dict_set_int(&options, "packetsize", plan.packetSize, 0);
    if (plan.muxRate > 0)
        av_dict_set_int(&options, "muxrate", plan.muxRate, 0);
    if (plan.preloadUs > 0)
        av_dict_set_int(&options, "preload", plan.preloadUs, 0);
    if (plan.largeWav)
        av_dict_set(&options, "rf64", "auto", 0);
    if (plan.fastStart)
        av_dict_set(&options, "movflags", "+faststart", 0);
    smallWav_ = plan.muxer == "wav" && !plan.largeWav;
    std::unique_ptr<AVDictionary, ff::DictionaryDeleter> owned(options);
    if (plan.maxDelayUs >= 0)
        output_->max_delay = plan.maxDelayUs;
    rc = avio_open(&output_->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (rc < 0)
        return fail(error, "cannot write " + (shownName_.empty() ? path : shownName_), rc);
    options = owned.release();
    rc = avformat_write_header(output_.get(), &options);
    owned.reset(options);
    if (rc < 0)
        return fail(error, "cannot start the " + plan.muxer + " file", rc);
    return true;
}

bool OutputWriter::openVideo(const VideoPlan& plan, std::string* error)
{
    const AVCodec* codec = findEncoder(plan.encoder, error);
    if (!codec)
        return false;
    video_.reset(avcodec_alloc_context3(codec));
    if (!video_)
        return fail(error, "out of memory", AVERROR(ENOMEM));
    AVCodecContext* c = video_.get();
    c->width = plan.width;
    c->height = plan.height;
    c->pix_fmt = plan.pixelFormat;
    c->framerate = plan.frameRate;
    c->time_base = av_inv_q(plan.frameRate);
    c->sample_aspect_ratio = plan.sampleAspect;
    CodecThreads::apply(c, CodecThreads::forEncoder(codec, plan.height, CodecThreads::cores()));
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
    if (output_->oformat->flags & AVFMT_GLOBALHEADER)
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
        return false;
    }
    return addStream(c, &videoStream_, error);
}

bool OutputWriter::openAudio(const AudioPlan& plan, std::string* error)
{
    const AVCodec* codec = findEncoder(plan.encoder, error);
    if (!codec)
        return false;
    audio_.reset(avcodec_alloc_context3(codec));
    if (!audio_)
        return fail(error, "out of memory", AVERROR(ENOMEM));
    AVCodecContext* c = audio_.get();
    c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c->sample_rate = plan.sampleRate;
    av_channel_layout_default(&c->ch_layout, plan.channels);
    c->bit_rate = plan.bitRate;
    c->time_base = AVRational{1, plan.sampleRate};
    if (output_->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int rc = avcodec_open2(c, codec, nullptr);
    if (rc < 0)
        return fail(error, "cannot open the " + plan.encoder + " encoder", rc);
    return addStream(c, &audioStream_, error);
}

bool OutputWriter::addStream(AVCodecContext* encoder, AVStream** stream, std::string* error)
{
    AVStream* s = avformat_new_stream(output_.get(), nullptr);
    if (!s)
        return fail(error, "out of memory", AVERROR(ENOMEM));
    const int rc = avcodec_parameters_from_context(s->codecpar, encoder);
    if (rc < 0)
        return fail(error, "cannot describe the output stream", rc);
    s->time_base = encoder->time_base;
    s->avg_frame_rate = encoder->framerate;
    s->sample_aspect_ratio = encoder->sample_aspect_ratio;
    // The buffer and rate figures of the encoder tell the muxer how to pace the stream.
    for (int i = 0; i < encoder->nb_coded_side_data; ++i) {
        const AVPacketSideData& sd = encoder->coded_side_data[i];
        uint8_t* copy = av_stream_new_side_data(s, sd.type, sd.size);
        if (!copy)
            return fail(error, "out of memory", AVERROR(ENOMEM));
        std::memcpy(copy, sd.data, sd.size);
    }
    *stream = s;
    return true;
}

bool OutputWriter::writeVideo(const AVFrame* frame, std::string* error)
{
    return encode(video_.get(), videoStream_, frame, error);
}

bool OutputWriter::writeAudio(const AVFrame* frame, std::string* error)
{
    return encode(audio_.get(), audioStream_, frame, error);
}

bool OutputWriter::encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame, std::string* error)
{
    std::vector<ff::Packet> packets;
    if (!encodeInto(encoder, stream, frame, &packets, error))
        return false;
    for (const ff::Packet& packet : packets) {
        if (!writePacket(packet.get(), error))
            return false;
    }
    return true;
}

bool OutputWriter::encodeSound(const AVFrame* frame, std::vector<ff::Packet>* packets, std::string* error)
{
    return encodeInto(audio_.get(), audioStream_, frame, packets, error);
}

bool OutputWriter::encodeInto(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame,
                              std::vector<ff::Packet>* packets, std::string* error)
{
    int rc = avcodec_send_frame(encoder, frame);
    if (rc < 0 && rc != AVERROR_EOF)
        return fail(error, "cannot encode", rc);
    while (true) {
        ff::Packet packet = ff::makePacket();
        if (!packet)
            return fail(error, "out of memory", AVERROR(ENOMEM));
        rc = avcodec_receive_packet(encoder, packet.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return true;
        if (rc < 0)
            return fail(error, "cannot encode", rc);
        av_packet_rescale_ts(packet.get(), encoder->time_base, stream->time_base);
        packet->stream_index = stream->index;
        packets->push_back(std::move(packet));
    }
}

bool OutputWriter::writePacket(AVPacket* packet, std::string* error)
{
    const int rc = av_interleaved_write_frame(output_.get(), packet);
    return rc >= 0 || writeFailure(error, rc);
}

bool OutputWriter::finish(std::string* error)
{
    if (video_ && !encode(video_.get(), videoStream_, nullptr, error))
        return false;
    if (audio_ && !encode(audio_.get(), audioStream_, nullptr, error))
        return false;
    int rc = av_write_trailer(output_.get());
    if (rc < 0)
        return writeFailure(error, rc);
    if (output_->pb->error < 0)
        return writeFailure(error, output_->pb->error);
    if (smallWav_ && avio_size(output_->pb) > std::int64_t(UINT32_MAX)) {
        *error = "the sound is too long for a WAV file";
        return false;
    }
    rc = avio_closep(&output_->pb);
    if (rc < 0)
        return writeFailure(error, rc);
    return true;
}

bool OutputWriter::writeFailure(std::string* error, int code) const
{
    const std::string name = shownName_.empty() ? std::string("the output") : shownName_;
    if (code == AVERROR(ENOSPC))
        *error = "the disk is full while writing " + name;
    else if (code == AVERROR(EDQUOT))
        *error = "the disk quota is used up while writing " + name;
    else if (code == AVERROR(EFBIG))
        *error = name + " grows beyond the largest file the disk can hold";
    else
        *error = "cannot write " + name + ": " + ff::errorText(code);
    return false;
}
