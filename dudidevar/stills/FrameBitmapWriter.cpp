// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/stills/FrameBitmapWriter.h"

#include "dudidevar/run/TempOutput.h"
#include "platform/WriteFailureReason.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace {
constexpr int kScaleFlags = SWS_BICUBIC | SWS_ACCURATE_RND;
}  // namespace

bool FrameBitmapWriter::write(const AVFrame& frame, int width, int height, const PicturePlacement& where,
                              const std::string& path, PictureOverlay* overlay, double seconds)
{
    failure_.clear();
    if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide)
        return false;
    const ff::Frame picture = scaleToBgr(frame, width, height, where);
    if (!picture)
        return false;
    if (overlay && !overlay->draw(picture.get(), seconds, where, &failure_))
        return false;
    const ff::Packet packet = encodeBitmap(*picture);
    return packet && writeFile(packet, path);
}

namespace {

bool hasSubsampledChroma(AVPixelFormat format)
{
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    return desc && !(desc->flags & AV_PIX_FMT_FLAG_RGB) && (desc->log2_chroma_w > 0 || desc->log2_chroma_h > 0);
}

}  // namespace

// Subsampled colour is brought to full resolution while scaling, into planes of RGB at the
// final size, which are then only interleaved: flat colours stay true, at a fraction of the cost
// of interpolating chroma in the RGB conversion itself (and at two thirds of the cost of
// scaling into full-resolution YUV first: within one level of it).
ff::Frame FrameBitmapWriter::scaleToBgr(const AVFrame& frame, int width, int height, const PicturePlacement& where)
{
    if (!hasSubsampledChroma(static_cast<AVPixelFormat>(frame.format)))
        return scaler_.scale(frame, width, height, AV_PIX_FMT_BGR24, where, kScaleFlags);
    const ff::Frame full = scaler_.scale(frame, width, height, AV_PIX_FMT_GBRP, where, kScaleFlags);
    const PicturePlacement whole{0, 0, width, height};
    return full ? rgbConverter_.scale(*full, width, height, AV_PIX_FMT_BGR24, whole, kScaleFlags) : nullptr;
}

ff::Packet FrameBitmapWriter::encodeBitmap(const AVFrame& picture)
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_BMP);
    if (!codec)
        return nullptr;
    ff::CodecContext encoder(avcodec_alloc_context3(codec));
    ff::Packet packet = ff::makePacket();
    if (!encoder || !packet)
        return nullptr;
    encoder->width = picture.width;
    encoder->height = picture.height;
    encoder->pix_fmt = AV_PIX_FMT_BGR24;
    encoder->time_base = AVRational{1, 1};
    if (avcodec_open2(encoder.get(), codec, nullptr) < 0)
        return nullptr;
    if (avcodec_send_frame(encoder.get(), &picture) < 0 || avcodec_receive_packet(encoder.get(), packet.get()) < 0)
        return nullptr;
    return packet;
}

namespace {

bool writeAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = ENOSPC;  // nothing taken and no error: the disk has no room
        if (written <= 0)
            return false;
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

}  // namespace

// One write into a file beside the target, renamed onto it, as conversions write their outputs;
// not forced to the disk one by one, which cost a run of pictures on a busy disk more than
// decoding them.
bool FrameBitmapWriter::writeFile(const ff::Packet& packet, const std::string& path)
{
    TempOutput file;
    if (!file.create(path, &failure_, &leftovers_))
        return false;
    const int fd = ::open(file.path().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        failure_ = WriteFailureReason::text(path, errno);
        return false;
    }
    const bool written = writeAll(fd, packet->data, std::size_t(packet->size));
    const int writeError = written ? 0 : errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        failure_ = WriteFailureReason::text(path, written ? errno : writeError);
        return false;
    }
    return file.commit(&failure_);
}
