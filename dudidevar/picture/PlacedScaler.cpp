// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/picture/PlacedScaler.h"

#include <string_view>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
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

// A new frame on the picture's own buffers, with none of its other properties, as a scaled copy
// would be: the decoder's picture type or side data must not reach an encoder.
ff::Frame bareReference(const AVFrame& picture)
{
    ff::Frame frame = ff::makeFrame();
    if (!frame)
        return nullptr;
    frame->width = picture.width;
    frame->height = picture.height;
    frame->format = picture.format;
    for (int i = 0; i < AV_NUM_DATA_POINTERS; ++i) {
        frame->data[i] = picture.data[i];
        frame->linesize[i] = picture.linesize[i];
        if (picture.buf[i] && !(frame->buf[i] = av_buffer_ref(picture.buf[i])))
            return nullptr;
    }
    frame->extended_data = frame->data;
    return frame;
}

}  // namespace

ff::Frame PlacedScaler::scale(const AVFrame& picture, int width, int height, AVPixelFormat format,
                              const PicturePlacement& where, int flags)
{
    const bool filled = where.x == 0 && where.y == 0 && where.width == width && where.height == height;
    // A picture already of the frame's size and format would only be copied by the scaler.
    const bool asItIs = filled && picture.width == width && picture.height == height && picture.format == format &&
                        picture.buf[0];
    if (asItIs)
        return bareReference(picture);
    const Setup setup{picture.width, picture.height, picture.format, where.width, where.height, format, flags,
                      picture.buf[0] ? threads_ : 1};
    if (!prepare(setup))
        return nullptr;
    ff::Frame frame = frames_.frame(width, height, format);
    if (filled)
        return frame && scaleInto(picture, *frame) ? std::move(frame) : nullptr;
    // The scaler writes whole blocks of pixels past a width that is no multiple of them, so a
    // placed picture is scaled apart and copied in at its exact size.
    const ff::Frame inner = placedFrames_.frame(where.width, where.height, format);
    if (!frame || !inner || !fillBlack(*frame) || !scaleInto(picture, *inner))
        return nullptr;
    std::uint8_t* planes[4] = {};
    pointInto(*frame, where.x, where.y, planes);
    av_image_copy(planes, frame->linesize, const_cast<const std::uint8_t**>(inner->data), inner->linesize, format,
                  where.width, where.height);
    return frame;
}

bool PlacedScaler::prepare(const Setup& setup)
{
    if (sws_ && setup == setup_)
        return true;
    sws_.reset(sws_alloc_context());
    SwsContext* c = sws_.get();
    const bool set = c && av_opt_set_int(c, "srcw", setup.sourceWidth, 0) >= 0 &&
                     av_opt_set_int(c, "srch", setup.sourceHeight, 0) >= 0 &&
                     av_opt_set_int(c, "src_format", setup.sourceFormat, 0) >= 0 &&
                     av_opt_set_int(c, "dstw", setup.width, 0) >= 0 && av_opt_set_int(c, "dsth", setup.height, 0) >= 0 &&
                     av_opt_set_int(c, "dst_format", setup.format, 0) >= 0 &&
                     av_opt_set_int(c, "sws_flags", setup.flags, 0) >= 0 &&
                     av_opt_set_int(c, "threads", setup.threads, 0) >= 0;
    if (!set || sws_init_context(c, nullptr, nullptr) < 0) {
        sws_.reset();
        return false;
    }
    setup_ = setup;
    return true;
}

bool PlacedScaler::scaleInto(const AVFrame& picture, AVFrame& frame)
{
    if (setup_.threads > 1)
        return sws_scale_frame(sws_.get(), &frame, &picture) >= 0;
    return sws_scale(sws_.get(), picture.data, picture.linesize, 0, picture.height, frame.data, frame.linesize) ==
           frame.height;
}
