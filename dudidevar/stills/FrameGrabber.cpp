// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/stills/FrameGrabber.h"

#include "dudidevar/base/CodecThreads.h"
#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/picture/PictureGeometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

extern "C" {
#include <libavutil/mathematics.h>
}

namespace {

// Beyond this a time cannot be a position in any real file; it also keeps the arithmetic
// below far from overflowing.
constexpr double kLongestSeconds = 1.0e7;

// How far before the target the repeated seeks start. Never right at it: the first pictures
// decoded after a seek (those that lean on pictures before the key frame, in streams with
// B-frames) can carry times that are frames off, so the seek lands a second early and those
// pictures pass before the target. Further steps serve containers whose seek lands after the
// key frame that was asked for.
constexpr double kSeekBackSteps[] = {1.0, 4.0, 15.0};

}  // namespace

const AVFrame* FrameGrabber::frameAt(const std::string& path, double seconds)
{
    if (!(seconds >= 0.0) || seconds > kLongestSeconds)
        return nullptr;
    if (path != path_ || !input_) {
        ++openCount_;
        if (!open(path)) {
            close();
            return nullptr;
        }
    }
    const std::int64_t target = toStreamTime(seconds);
    if (canDecodeForwardTo(target)) {
        decodeForwardTo(target);
    } else if (!findFrameBySeeking(target)) {
        return nullptr;
    }
    if (!haveCurrent_ || pastLastFrame(seconds))
        return nullptr;
    return current_.get();
}

void FrameGrabber::close()
{
    forgetFrames();
    decoder_.reset();
    input_.reset();
    packet_.reset();
    path_.clear();
    streamIndex_ = -1;
}

SourceShape FrameGrabber::shapeOf(const AVFrame* frame) const
{
    SourceShape shape;
    shape.width = frame->width;
    shape.height = frame->height;
    shape.rotation = rotation_;
    if (input_)
        shape.sampleAspect = av_guess_sample_aspect_ratio(input_.get(), input_->streams[streamIndex_],
                                                          const_cast<AVFrame*>(frame));
    return shape;
}

bool FrameGrabber::open(const std::string& path)
{
    close();
    ff::InputContext input = MediaProbe::open(path);
    if (!input)
        return false;
    AVFormatContext* raw = input.get();
    const int index = MediaProbe::bestStream(raw, AVMEDIA_TYPE_VIDEO);
    if (index < 0)
        return false;
    AVStream* stream = raw->streams[index];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return false;

    ff::CodecContext decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0)
        return false;
    // Only the slices of one picture are shared out. Frames decoded side by side cost a tenth to
    // a sixth more processor time for 30 pictures of 10 s of 720p, and gained nothing once the
    // next pictures are decoded on a thread of their own while the last one is written.
    CodecThreads::Choice threads = CodecThreads::forDecoder(codec, stream->codecpar->height, CodecThreads::cores());
    threads.type &= FF_THREAD_SLICE;
    if (threads.type == 0)
        threads.count = 1;
    CodecThreads::apply(decoder.get(), threads);
    decoder->pkt_timebase = stream->time_base;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return false;

    ff::Packet packet = ff::makePacket();
    ff::Frame current = ff::makeFrame();
    ff::Frame pending = ff::makeFrame();
    if (!packet || !current || !pending)
        return false;

    for (unsigned i = 0; i < raw->nb_streams; ++i)
        if (static_cast<int>(i) != index)
            raw->streams[i]->discard = AVDISCARD_ALL;

    timeBase_ = stream->time_base;
    if (raw->start_time != AV_NOPTS_VALUE)
        fileStart_ = av_rescale_q(raw->start_time, AV_TIME_BASE_Q, timeBase_);
    else if (stream->start_time != AV_NOPTS_VALUE)
        fileStart_ = stream->start_time;
    else
        fileStart_ = 0;
    AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = AVRational{25, 1};
    nominalFrameDuration_ = std::max<std::int64_t>(1, av_rescale_q(1, av_inv_q(rate), timeBase_));
    durationSeconds_ = raw->duration > 0 ? double(raw->duration) / AV_TIME_BASE : 0.0;

    path_ = path;
    input_ = std::move(input);
    decoder_ = std::move(decoder);
    packet_ = std::move(packet);
    current_ = std::move(current);
    pending_ = std::move(pending);
    streamIndex_ = index;
    rotation_ = PictureGeometry::rotationOf(stream);
    inDecodeOrder_ = stream->codecpar->video_delay == 0;
    indexAgrees_ = false;
    atFileStart_ = true;
    demuxerDone_ = false;
    decoderDone_ = false;
    lastStamp_ = AV_NOPTS_VALUE;
    return true;
}

bool FrameGrabber::reopen()
{
    const std::string path = path_;
    return open(path);
}

std::int64_t FrameGrabber::toStreamTime(double seconds) const
{
    // Whole microseconds first, so 0.3 s at a time base of 1/10 is tick 3, not 2.999…
    const std::int64_t micro = std::llround(seconds * 1.0e6);
    return fileStart_ + av_rescale_rnd(micro, timeBase_.den, std::int64_t(timeBase_.num) * 1000000,
                                       AV_ROUND_DOWN);
}

bool FrameGrabber::canDecodeForwardTo(std::int64_t target) const
{
    const std::int64_t reach = toStreamTime(kForwardDecodeSeconds) - fileStart_;
    if (haveCurrent_)
        return target >= currentFrom_ && target - current_->pts <= reach;
    return atFileStart_ && target - fileStart_ <= reach;
}

bool FrameGrabber::findFrameBySeeking(std::int64_t target)
{
    for (double back : kSeekBackSteps) {
        if (!seekBefore(target, back))
            break;
        decodeForwardTo(target);
        if (haveCurrent_ || stopped())
            return haveCurrent_;
    }
    if (stopped())
        return false;
    // The seek did not land before the target (or the file cannot seek): decode from the start.
    ++seekCount_;
    if (!reopen())
        return false;
    decodeForwardTo(target);
    return haveCurrent_;
}

bool FrameGrabber::seekBefore(std::int64_t target, double backSeconds)
{
    const std::int64_t timestamp = target - (toStreamTime(backSeconds) - fileStart_);
    if (timestamp <= fileStart_)
        return false;
    ++seekCount_;
    if (av_seek_frame(input_.get(), streamIndex_, timestamp, AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    avcodec_flush_buffers(decoder_.get());
    forgetFrames();
    indexAgrees_ = false;
    atFileStart_ = false;
    demuxerDone_ = false;
    decoderDone_ = false;
    lastStamp_ = AV_NOPTS_VALUE;
    return true;
}

void FrameGrabber::decodeForwardTo(std::int64_t target)
{
    skipTo_ = keyFrameAtOrBefore(target);
    for (;;) {
        if (havePending_) {
            if (pending_->pts > target)
                break;
            std::swap(current_, pending_);
            haveCurrent_ = true;
            havePending_ = false;
            currentFrom_ = current_->pts;
        }
        if (!decodeNext(pending_.get()))
            break;
        havePending_ = true;
    }
    skipTo_ = AV_NOPTS_VALUE;
    // A time before the first frame of the file shows that first frame.
    if (!haveCurrent_ && havePending_ && atFileStart_) {
        std::swap(current_, pending_);
        haveCurrent_ = true;
        havePending_ = false;
        currentFrom_ = fileStart_;
    }
}

bool FrameGrabber::decodeNext(AVFrame* frame)
{
    av_frame_unref(frame);
    while (!decoderDone_ && !stopped()) {
        const int result = avcodec_receive_frame(decoder_.get(), frame);
        if (result == 0) {
            stampTime(frame);
            return true;
        }
        if (result != AVERROR(EAGAIN) || !sendNextPacket())
            decoderDone_ = true;
    }
    return false;
}

bool FrameGrabber::sendNextPacket()
{
    while (!demuxerDone_) {
        if (av_read_frame(input_.get(), packet_.get()) < 0) {
            demuxerDone_ = true;
            return avcodec_send_packet(decoder_.get(), nullptr) >= 0;
        }
        const bool ours = packet_->stream_index == streamIndex_;
        if (ours && (packet_->flags & AV_PKT_FLAG_KEY)) {
            indexAgrees_ = indexHasKeyFrameAt(packet_->dts);
            // Reached: a damaged time further on must not make a needed packet look needless.
            if (skipTo_ != AV_NOPTS_VALUE && packet_->dts >= skipTo_)
                skipTo_ = AV_NOPTS_VALUE;
        }
        if (ours && needless(*packet_)) {
            ++skippedCount_;
            av_packet_unref(packet_.get());
            continue;
        }
        const int result = ours ? avcodec_send_packet(decoder_.get(), packet_.get()) : -1;
        av_packet_unref(packet_.get());
        if (ours && result >= 0)
            return true;
        // Packets of other streams and damaged packets are passed over.
    }
    return false;
}

// The last key frame at or before the target that the container's index knows of. Only where
// frames come out in the order they are stored: there a frame stored before it is shown before
// it, and no frame from it on refers back past it.
std::int64_t FrameGrabber::keyFrameAtOrBefore(std::int64_t target) const
{
    if (!inDecodeOrder_ || target == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    AVStream* stream = input_->streams[streamIndex_];
    const int index = av_index_search_timestamp(stream, target, AVSEEK_FLAG_BACKWARD);
    const AVIndexEntry* entry = index >= 0 ? avformat_index_get_entry(stream, index) : nullptr;
    return entry && (entry->flags & AVINDEX_KEYFRAME) ? entry->timestamp : AV_NOPTS_VALUE;
}

// Some containers index their pictures on a clock of their own; skipping by such an index
// could pass over the picture asked for.
bool FrameGrabber::indexHasKeyFrameAt(std::int64_t timestamp) const
{
    return timestamp != AV_NOPTS_VALUE && keyFrameAtOrBefore(timestamp) == timestamp;
}

// A picture stored before that key frame is shown before it, so before the frame asked for, and
// no later picture needs it. Key frames are always decoded: they may carry the stream's headers.
bool FrameGrabber::needless(const AVPacket& packet) const
{
    return indexAgrees_ && skipTo_ != AV_NOPTS_VALUE && packet.dts != AV_NOPTS_VALUE && packet.dts < skipTo_ &&
           !(packet.flags & AV_PKT_FLAG_KEY);
}

void FrameGrabber::stampTime(AVFrame* frame)
{
    std::int64_t stamp = frame->best_effort_timestamp;
    if (stamp == AV_NOPTS_VALUE)
        stamp = lastStamp_ == AV_NOPTS_VALUE ? fileStart_ : lastStamp_ + nominalFrameDuration_;
    frame->pts = stamp;
    lastStamp_ = stamp;
}

std::int64_t FrameGrabber::frameDuration(const AVFrame* frame) const
{
    return frame->pkt_duration > 0 ? frame->pkt_duration : nominalFrameDuration_;
}

// Reckoned in seconds: in a stream whose clock ticks coarser than the hold, a tick would round
// it away.
bool FrameGrabber::pastLastFrame(double seconds) const
{
    if (!decoderDone_ || havePending_)
        return false;
    const double length = av_q2d(timeBase_) * double(frameDuration(current_.get()));
    const double end = av_q2d(timeBase_) * double(current_->pts - fileStart_) + length;
    const double held = std::max(length / 2, kLastPictureHeldSeconds);
    // Whole microseconds, as the time was placed on the stream's clock.
    return std::llround(seconds * 1.0e6) > std::llround((end + held) * 1.0e6);
}

void FrameGrabber::forgetFrames()
{
    if (current_)
        av_frame_unref(current_.get());
    if (pending_)
        av_frame_unref(pending_.get());
    haveCurrent_ = false;
    havePending_ = false;
}
