#include "dudidevar/FrameBitmapWriter.h"

#include <QSaveFile>
#include <QString>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace {
constexpr int kScaleFlags = SWS_BICUBIC | SWS_ACCURATE_RND;
}  // namespace

bool FrameBitmapWriter::write(const AVFrame& frame, int width, int height, const std::string& path)
{
    if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide)
        return false;
    const ff::Frame picture = scaleToBgr(frame, width, height);
    if (!picture)
        return false;
    const ff::Packet packet = encodeBitmap(*picture);
    return packet && writeFile(packet, path);
}

namespace {

ff::Frame allocatePicture(int width, int height, AVPixelFormat format)
{
    ff::Frame picture = ff::makeFrame();
    if (!picture)
        return nullptr;
    picture->width = width;
    picture->height = height;
    picture->format = format;
    if (av_frame_get_buffer(picture.get(), 0) < 0)
        return nullptr;
    return picture;
}

bool hasSubsampledChroma(AVPixelFormat format)
{
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    return desc && !(desc->flags & AV_PIX_FMT_FLAG_RGB) && (desc->log2_chroma_w > 0 || desc->log2_chroma_h > 0);
}

}  // namespace

// Scales with one context into `format` at width × height, reusing the context between calls.
ff::Frame FrameBitmapWriter::convert(ff::Sws& scaler, const AVFrame& frame, int width, int height,
                                     AVPixelFormat format)
{
    SwsContext* context = sws_getCachedContext(scaler.release(), frame.width, frame.height,
                                               static_cast<AVPixelFormat>(frame.format), width, height, format,
                                               kScaleFlags, nullptr, nullptr, nullptr);
    scaler.reset(context);
    ff::Frame picture = context ? allocatePicture(width, height, format) : nullptr;
    if (!picture)
        return nullptr;
    if (sws_scale(context, frame.data, frame.linesize, 0, frame.height, picture->data, picture->linesize) != height)
        return nullptr;
    return picture;
}

// Subsampled colour is brought to full resolution while scaling, then turned into RGB at the
// final size: flat colours stay true, at a fraction of the cost of interpolating chroma in the
// RGB conversion itself.
ff::Frame FrameBitmapWriter::scaleToBgr(const AVFrame& frame, int width, int height)
{
    if (!hasSubsampledChroma(static_cast<AVPixelFormat>(frame.format)))
        return convert(scaler_, frame, width, height, AV_PIX_FMT_BGR24);
    const ff::Frame full = convert(scaler_, frame, width, height, AV_PIX_FMT_YUV444P);
    return full ? convert(rgbConverter_, *full, width, height, AV_PIX_FMT_BGR24) : nullptr;
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

bool FrameBitmapWriter::writeFile(const ff::Packet& packet, const std::string& path)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto size = static_cast<qint64>(packet->size);
    if (file.write(reinterpret_cast<const char*>(packet->data), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
