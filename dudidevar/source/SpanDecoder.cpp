// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/source/SpanDecoder.h"

#include "dudidevar/base/CodecThreads.h"
#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/source/ProbeShelf.h"
#include "dudidevar/source/SourceReasons.h"

#include <algorithm>
#include <utility>

namespace {
// How far before a span's start to land, so that a demuxer without an index still reaches a key
// frame before it.
constexpr double kSeekMargin = 0.5;
// Damage a stream may have and still be decoded: a share of its packets, and a stretch of it.
constexpr std::int64_t kDamagedShareDivisor = 20;  // 5 %
constexpr std::int64_t kDamagedCountedEarly = 10;   // the share is judged early from this many on
constexpr double kLongestDamage = 1.0;              // seconds
// How far a frame's time may lie ahead of, or behind, the frame before it and still continue
// the stream's run: gaps in a recording are kept, leaps beyond are breaks in the timestamps.
constexpr double kLeapAhead = 10.0;
constexpr double kLeapBack = 1.0;
// A first frame after a seek this far past the span's start still counts as before it
// (timestamps rounded by the container).
constexpr double kLandingSlack = 0.001;
}

namespace {

// The index of the stream of the type that a reader of the file decodes; -1 with the reason
// (*missing: the file has no such stream at all).
int decodableStream(AVFormatContext* input, const std::string& path, AVMediaType type, int wanted, bool* missing,
                    std::string* error)
{
    const int index = wanted >= 0 && unsigned(wanted) < input->nb_streams ? wanted : MediaProbe::bestStream(input, type);
    *missing = index < 0;
    if (index < 0) {
        *error = type == AVMEDIA_TYPE_VIDEO ? SourceReasons::noPicture(path) : SourceReasons::noSound(path);
        return -1;
    }
    if (!avcodec_find_decoder(input->streams[index]->codecpar->codec_id)) {
        *error = path + ": its " + (type == AVMEDIA_TYPE_VIDEO ? "picture" : "sound") +
                 " is in a format that cannot be decoded";
        return -1;
    }
    return index;
}

}  // namespace

bool SpanDecoder::open(const std::string& path, AVMediaType type, std::string* error, ProbeShelf* probes)
{
    if (probes)
        input_ = probes->take(path);
    if (!input_)
        input_ = MediaProbe::open(path, error);
    return input_ && useStream(path, type, error);
}

bool SpanDecoder::openLater(const std::string& path, AVFormatContext* probed, AVMediaType type, std::string* error)
{
    const int index = decodableStream(probed, path, type, wanted_, &missingStream_, error);
    if (index < 0)
        return false;
    channels_ = probed->streams[index]->codecpar->ch_layout.nb_channels;
    postponedPath_ = path;
    postponedType_ = type;
    rememberProbe(probed, index);
    return true;
}

// What the probe found that the file's header alone does not say, kept for opening the file
// again without probing it: the chosen stream's parameters and the file's start.
void SpanDecoder::rememberProbe(const AVFormatContext* probed, int index)
{
    probedParameters_.reset(avcodec_parameters_alloc());
    if (probedParameters_ && avcodec_parameters_copy(probedParameters_.get(), probed->streams[index]->codecpar) < 0)
        probedParameters_.reset();
    probedFormat_ = probed->iformat;
    probedStreams_ = probed->nb_streams;
    probedStart_ = probed->start_time;
    wanted_ = index;
}

bool SpanDecoder::useStream(const std::string& path, AVMediaType type, std::string* error)
{
    const int index = decodableStream(input_.get(), path, type, wanted_, &missingStream_, error);
    if (index < 0)
        return false;
    stream_ = input_->streams[index];
    channels_ = stream_->codecpar->ch_layout.nb_channels;
    for (unsigned i = 0; i < input_->nb_streams; ++i) {
        if (int(i) != index)
            input_->streams[i]->discard = AVDISCARD_ALL;
    }
    const AVCodec* codec = avcodec_find_decoder(stream_->codecpar->codec_id);
    decoder_.reset(avcodec_alloc_context3(codec));
    packet_ = ff::makePacket();
    if (!decoder_ || !packet_) {
        *error = "out of memory";
        return false;
    }
    const int rc = avcodec_parameters_to_context(decoder_.get(), stream_->codecpar);
    if (rc < 0) {
        *error = SourceReasons::unreadable(path);
        return false;
    }
    decoder_->pkt_timebase = stream_->time_base;
    CodecThreads::apply(decoder_.get(),
                        CodecThreads::forDecoder(codec, stream_->codecpar->height, CodecThreads::cores()));
    codec_ = codec;
    startOffset_ = MediaProbe::startOffset(input_.get());
    return true;
}

// The decoder (with its threads) and the seek to the span are made when the span is first
// read, so a long clip list holds only the decoders of the spans being read.
bool SpanDecoder::ready()
{
    if (!postponedPath_.empty() && !openPostponed())
        return false;
    if (codec_) {
        const int rc = avcodec_open2(decoder_.get(), codec_, nullptr);
        codec_ = nullptr;
        if (rc < 0) {
            error_ = std::string("its ") + (isVideo() ? "picture" : "sound") + " is in a format that cannot be decoded";
            return false;
        }
        if (pendingSeek_ > kSeekMargin)
            seekBefore(pendingSeek_);
    }
    return error_.empty();
}

// A file that was readable when the run was prepared and is not now (removed, or replaced by
// something else) fails the run with the reason.
bool SpanDecoder::openPostponed()
{
    const std::string path = std::exchange(postponedPath_, {});
    std::string why;
    if (!reopenAsProbed(path))
        input_ = MediaProbe::open(path, &why);
    if (!input_ || !useStream(path, postponedType_, &why)) {
        error_ = "it can no longer be read";
        return false;
    }
    return true;
}

// Opens the file again as the probe saw it, when its header lays out the same streams: the
// probe's parameters and start stand in for a second probe. A file whose streams are found only
// by reading it (a program or transport stream) is left to be probed.
bool SpanDecoder::reopenAsProbed(const std::string& path)
{
    const ff::CodecParameters parameters = std::move(probedParameters_);
    if (!parameters)
        return false;
    ff::InputContext input = MediaProbe::openUnprobed(path, probedFormat_, nullptr);
    if (!input || (input->ctx_flags & AVFMTCTX_NOHEADER) || input->nb_streams != probedStreams_)
        return false;
    AVCodecParameters* header = input->streams[wanted_]->codecpar;
    if (header->codec_type != parameters->codec_type || header->codec_id != parameters->codec_id ||
        avcodec_parameters_copy(header, parameters.get()) < 0)
        return false;
    input->start_time = probedStart_;
    input_ = std::move(input);
    return true;
}

void SpanDecoder::seekBefore(double time)
{
    if (codec_ || !postponedPath_.empty()) {
        pendingSeek_ = time;
        return;
    }
    if (time <= kSeekMargin)
        return;
    const auto target = std::int64_t((time - kSeekMargin + startOffset_) * AV_TIME_BASE);
    if (avformat_seek_file(input_.get(), -1, INT64_MIN, target, target, 0) < 0)
        avformat_seek_file(input_.get(), -1, INT64_MIN, target, target, AVSEEK_FLAG_ANY);
    restart();
    landingToCheck_ = time;
}

// Goes back to the file's first byte, for a seek that landed after the span's start or nowhere
// (a transport stream whose timestamps wrap around cannot be searched by time): decoding
// forward from the start finds the span's pictures exactly as a whole conversion does.
void SpanDecoder::rewind()
{
    landingToCheck_ = -1.0;
    if (av_seek_frame(input_.get(), -1, 0, AVSEEK_FLAG_BYTE) < 0)
        avformat_seek_file(input_.get(), -1, INT64_MIN, input_->start_time == AV_NOPTS_VALUE ? 0 : input_->start_time,
                           INT64_MAX, 0);
    restart();
}

void SpanDecoder::restart()
{
    avcodec_flush_buffers(decoder_.get());
    draining_ = false;
    lastStamp_ = AV_NOPTS_VALUE;
    shift_ = 0;
    damageStart_ = -1.0;
}

// True when the frame may be handed on; false when the seek before it missed and the decoder
// has gone back to the start.
bool SpanDecoder::landedBefore(const AVFrame* frame)
{
    const double landing = landingToCheck_;
    landingToCheck_ = -1.0;
    if (landing < 0 || timeOf(frame) <= landing + kLandingSlack)
        return true;
    rewind();
    return false;
}

double SpanDecoder::timeOf(const AVFrame* frame) const
{
    std::int64_t ts = frame->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE)
        ts = frame->pts;
    if (ts == AV_NOPTS_VALUE)
        return -1.0;
    return ts * av_q2d(stream_->time_base) - startOffset_;
}

bool SpanDecoder::next(AVFrame* frame)
{
    if (!ready())
        return false;
    while (true) {
        const int rc = avcodec_receive_frame(decoder_.get(), frame);
        if (rc >= 0) {
            damageStart_ = -1.0;
            if (!landedBefore(frame)) {
                av_frame_unref(frame);
                continue;
            }
            fillMissingStamp(frame);
            return true;
        }
        if (rc == AVERROR_EOF && landingToCheck_ >= 0) {
            rewind();
            continue;
        }
        if (rc == AVERROR_EOF) {
            if (damageTooLarge())
                error_ = std::to_string(damaged_) + " of its " + std::to_string(packets_) + " packets are damaged";
            return false;
        }
        if (rc == AVERROR(ENOMEM)) {
            error_ = "there is not enough memory to decode it";
            return false;
        }
        if (rc != AVERROR(EAGAIN)) {
            if (!passOverDamage(lastPacketTime_))
                return false;
            continue;
        }
        if (!feed())
            return false;
    }
}

bool SpanDecoder::damageTooLarge() const
{
    return damaged_ * kDamagedShareDivisor > packets_;
}

bool SpanDecoder::passOverDamage(double time)
{
    ++damaged_;
    if (damageStart_ < 0)
        damageStart_ = time;
    if (time - damageStart_ >= kLongestDamage) {
        error_ = "it is damaged from " + std::to_string(int(damageStart_)) + " s on for more than a second";
        return false;
    }
    if (damaged_ >= kDamagedCountedEarly && damageTooLarge()) {
        error_ = std::to_string(damaged_) + " of its first " + std::to_string(packets_) + " packets are damaged";
        return false;
    }
    return true;
}

double SpanDecoder::packetTime(const AVPacket* packet) const
{
    const std::int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    return ts == AV_NOPTS_VALUE ? lastPacketTime_ : ts * av_q2d(stream_->time_base) - startOffset_;
}

// Frames without a time of their own (the last pictures of a program stream often are) are
// placed one frame after the frame before them, and so are pictures whose time does not move
// on from the picture before. A time that leaps far from the stream's run (a damaged or badly
// joined stream) is taken as a break: the frame follows the one before it, and the frames after
// it keep that shift until their times leap back.
void SpanDecoder::fillMissingStamp(AVFrame* frame)
{
    if (frame->best_effort_timestamp == AV_NOPTS_VALUE)
        frame->best_effort_timestamp = frame->pts;
    if (lastStamp_ == AV_NOPTS_VALUE) {
        shift_ = 0;
    } else {
        const std::int64_t expected = lastStamp_ + stampStep(frame);
        if (frame->best_effort_timestamp == AV_NOPTS_VALUE) {
            frame->best_effort_timestamp = expected;
        } else {
            const std::int64_t step = expected - lastStamp_;
            std::int64_t stamp = frame->best_effort_timestamp + shift_;
            const double leap = (stamp - expected) * av_q2d(stream_->time_base);
            if (leap > kLeapAhead || leap < -kLeapBack) {
                shift_ = expected - frame->best_effort_timestamp;
                stamp = expected;
            } else if (isVideo() && stamp < lastStamp_ + step / 2) {
                stamp = expected;  // a picture that does not move the time on is the next one
            }
            frame->best_effort_timestamp = stamp;
        }
    }
    if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
        lastStamp_ = frame->best_effort_timestamp;
}

bool SpanDecoder::isVideo() const
{
    return stream_->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
}

std::int64_t SpanDecoder::stampStep(const AVFrame* frame) const
{
    if (!isVideo() && frame->sample_rate > 0)
        return av_rescale_q(frame->nb_samples, AVRational{1, frame->sample_rate}, stream_->time_base);
    AVRational rate = av_guess_frame_rate(input_.get(), stream_, const_cast<AVFrame*>(frame));
    if (rate.num <= 0 || rate.den <= 0)
        rate = AVRational{25, 1};
    return std::max<std::int64_t>(1, av_rescale_q(1, av_inv_q(rate), stream_->time_base));
}

// Hands the decoder its next packet (or the end of the stream); false when nothing more can
// be fed.
bool SpanDecoder::feed()
{
    if (draining_)
        return false;
    while (true) {
        const int rc = av_read_frame(input_.get(), packet_.get());
        if (rc < 0) {
            if (rc != AVERROR_EOF && input_->pb && input_->pb->error < 0) {
                error_ = "it cannot be read to its end (" + ff::errorText(input_->pb->error) + ")";
                return false;
            }
            draining_ = true;
            avcodec_send_packet(decoder_.get(), nullptr);
            return true;
        }
        if (packet_->stream_index != stream_->index) {
            av_packet_unref(packet_.get());
            continue;
        }
        ++packets_;
        lastPacketTime_ = packetTime(packet_.get());
        const int sent = avcodec_send_packet(decoder_.get(), packet_.get());
        av_packet_unref(packet_.get());
        if (sent >= 0 || sent == AVERROR(EAGAIN))
            return true;
        if (sent == AVERROR(ENOMEM)) {
            error_ = "there is not enough memory to decode it";
            return false;
        }
        // A damaged packet: the decoder resumes at the next good one.
        return passOverDamage(lastPacketTime_);
    }
}
