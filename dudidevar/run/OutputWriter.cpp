// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/OutputWriter.h"

#include <cstring>

#include "dudidevar/run/EncoderSetup.h"
#include "platform/WriteFailureReason.h"

namespace {

bool fail(std::string* error, const std::string& what, int code)
{
    *error = what + ": " + ff::errorText(code);
    return false;
}

}  // namespace

bool OutputWriter::open(const OutputPlan& plan, const std::string& path, std::string* error)
{
    AVFormatContext* raw = nullptr;
    int rc = avformat_alloc_output_context2(&raw, nullptr, plan.muxer.c_str(), path.c_str());
    if (rc < 0 || !raw)
        return fail(error, "cannot make a " + plan.muxer + " file", rc);
    output_.reset(raw);
    const bool globalHeader = output_->oformat->flags & AVFMT_GLOBALHEADER;
    if (plan.picture.enabled &&
        !addStream(EncoderSetup::openPicture(plan.picture, globalHeader, error), &picture_, error))
        return false;
    if (plan.sound.enabled && !addStream(EncoderSetup::openSound(plan.sound, globalHeader, error), &sound_, error))
        return false;
    if (!picture_.opened() && !sound_.opened()) {
        *error = "the output would hold neither picture nor sound";
        return false;
    }
    return addTextStream(error) && writeHeader(plan, path, error);
}

bool OutputWriter::writeHeader(const OutputPlan& plan, const std::string& path, std::string* error)
{
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
    int rc = avio_open(&output_->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (rc < 0)
        return fail(error, "cannot write " + (shownName_.empty() ? path : shownName_), rc);
    options = owned.release();
    rc = avformat_write_header(output_.get(), &options);
    owned.reset(options);
    if (rc < 0)
        return fail(error, "cannot start the " + plan.muxer + " file", rc);
    return true;
}

bool OutputWriter::addStream(ff::CodecContext encoder, StreamEncoder* stream, std::string* error)
{
    if (!encoder)
        return false;
    AVStream* s = avformat_new_stream(output_.get(), nullptr);
    if (!s)
        return fail(error, "out of memory", AVERROR(ENOMEM));
    const int rc = avcodec_parameters_from_context(s->codecpar, encoder.get());
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
    *stream = StreamEncoder(std::move(encoder), s);
    return true;
}

bool OutputWriter::addTextStream(std::string* error)
{
    if (!textEncoder_)
        return true;
    text_ = avformat_new_stream(output_.get(), nullptr);
    if (!text_)
        return fail(error, "out of memory", AVERROR(ENOMEM));
    const int rc = avcodec_parameters_from_context(text_->codecpar, textEncoder_);
    if (rc < 0)
        return fail(error, "cannot describe the subtitle track", rc);
    text_->time_base = textEncoder_->time_base;
    if (!textLanguage_.empty() && av_dict_set(&text_->metadata, "language", textLanguage_.c_str(), 0) < 0)
        return fail(error, "out of memory", AVERROR(ENOMEM));
    return true;
}

bool OutputWriter::writeText(AVPacket* packet, AVRational timeBase, std::string* error)
{
    packet->stream_index = text_->index;
    av_packet_rescale_ts(packet, timeBase, text_->time_base);
    return writePacket(packet, error);
}

bool OutputWriter::write(StreamEncoder& stream, const AVFrame* frame, std::string* error)
{
    std::vector<ff::Packet> packets;
    if (!stream.encode(frame, &packets, error))
        return false;
    for (const ff::Packet& packet : packets) {
        if (!writePacket(packet.get(), error))
            return false;
    }
    return true;
}

bool OutputWriter::writePacket(AVPacket* packet, std::string* error)
{
    const int rc = av_interleaved_write_frame(output_.get(), packet);
    return rc >= 0 || writeFailure(error, rc);
}

bool OutputWriter::finish(std::string* error)
{
    if (picture_.opened() && !write(picture_, nullptr, error))
        return false;
    if (sound_.opened() && !write(sound_, nullptr, error))
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
    // System errors are negated errno values; the libraries' own codes are far below them.
    const bool systemError = code < 0 && code > -4096;
    *error = systemError ? WriteFailureReason::text(name, -code) : "cannot write " + name + ": " + ff::errorText(code);
    return false;
}
