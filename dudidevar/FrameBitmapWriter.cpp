#include "dudidevar/FrameBitmapWriter.h"

#include <QSaveFile>
#include <QString>

extern "C" {
#include <libavutil/imgutils.h>
}

namespace {
// Exact rounding and full chroma resolution keep flat colours true when the size changes.
constexpr int kScaleFlags = SWS_BICUBIC;
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

ff::Frame FrameBitmapWriter::scaleToBgr(const AVFrame& frame, int width, int height)
{
    const auto format = static_cast<AVPixelFormat>(frame.format);
    SwsContext* scaler = sws_getCachedContext(scaler_.release(), frame.width, frame.height, format, width,
                                              height, AV_PIX_FMT_BGR24, kScaleFlags, nullptr, nullptr, nullptr);
    scaler_.reset(scaler);
    if (!scaler)
        return nullptr;

    ff::Frame picture = ff::makeFrame();
    if (!picture)
        return nullptr;
    picture->width = width;
    picture->height = height;
    picture->format = AV_PIX_FMT_BGR24;
    if (av_frame_get_buffer(picture.get(), 0) < 0)
        return nullptr;
    if (sws_scale(scaler, frame.data, frame.linesize, 0, frame.height, picture->data, picture->linesize) != height)
        return nullptr;
    return picture;
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
