#include "dudidevar/PlacedScaler.h"

#include <string_view>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace {

bool fillBlack(AVFrame& frame)
{
    const auto format = AVPixelFormat(frame.format);
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    const bool fullRange = desc && std::string_view(desc->name).starts_with("yuvj");
    ptrdiff_t linesizes[4] = {};
    for (int i = 0; i < 4; ++i)
        linesizes[i] = frame.linesize[i];
    return av_image_fill_black(frame.data, linesizes, format, fullRange ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG,
                               frame.width, frame.height) >= 0;
}

// The planes of a frame, starting at pixel (x, y); x and y are even.
void pointInto(const AVFrame& frame, int x, int y, std::uint8_t* planes[4])
{
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(AVPixelFormat(frame.format));
    int steps[4] = {};
    av_image_fill_max_pixsteps(steps, nullptr, desc);
    const bool palette = desc->flags & AV_PIX_FMT_FLAG_PAL;
    for (int i = 0; i < 4; ++i) {
        planes[i] = frame.data[i];
        if (!planes[i] || (palette && i > 0))
            continue;
        const bool chroma = i == 1 || i == 2;
        const int across = chroma ? x >> desc->log2_chroma_w : x;
        const int down = chroma ? y >> desc->log2_chroma_h : y;
        planes[i] += std::ptrdiff_t(down) * frame.linesize[i] + std::ptrdiff_t(across) * steps[i];
    }
}

}  // namespace

ff::Frame PlacedScaler::scale(const AVFrame& picture, int width, int height, AVPixelFormat format,
                              const PicturePlacement& where, int flags)
{
    sws_.reset(sws_getCachedContext(sws_.release(), picture.width, picture.height, AVPixelFormat(picture.format),
                                    where.width, where.height, format, flags, nullptr, nullptr, nullptr));
    ff::Frame frame = ff::makeFrame();
    if (!sws_ || !frame)
        return nullptr;
    frame->width = width;
    frame->height = height;
    frame->format = format;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    const bool filled = where.x == 0 && where.y == 0 && where.width == width && where.height == height;
    if (!filled && !fillBlack(*frame))
        return nullptr;
    std::uint8_t* planes[4] = {};
    pointInto(*frame, where.x, where.y, planes);
    if (sws_scale(sws_.get(), picture.data, picture.linesize, 0, picture.height, planes, frame->linesize) !=
        where.height)
        return nullptr;
    return frame;
}
