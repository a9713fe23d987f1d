// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/picture/FramePool.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace {

// Rows and planes start on this many bytes, and each plane is followed by as many spare ones:
// the widest vector loads of the scaler and the encoders stay inside the buffer.
constexpr int kAlign = 64;
// Planes hold whole blocks of rows, as the library's own frames do.
constexpr int kRowAlign = 32;

ff::Frame unpooledFrame(int width, int height, AVPixelFormat format)
{
    ff::Frame frame = ff::makeFrame();
    if (!frame)
        return nullptr;
    frame->width = width;
    frame->height = height;
    frame->format = format;
    return av_frame_get_buffer(frame.get(), 0) < 0 ? nullptr : std::move(frame);
}

}  // namespace

ff::Frame FramePool::frame(int width, int height, AVPixelFormat format)
{
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    if (!desc || (desc->flags & (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL)))
        return unpooledFrame(width, height, format);
    if ((!pool_ || width != width_ || height != height_ || format != format_) && !layOut(width, height, format))
        return nullptr;
    ff::Frame frame = ff::makeFrame();
    if (!frame || !(frame->buf[0] = av_buffer_pool_get(pool_.get())))
        return nullptr;
    frame->width = width;
    frame->height = height;
    frame->format = format;
    for (int i = 0; i < planes_; ++i) {
        frame->data[i] = frame->buf[0]->data + offsets_[i];
        frame->linesize[i] = linesizes_[i];
    }
    frame->extended_data = frame->data;
    return frame;
}

bool FramePool::layOut(int width, int height, AVPixelFormat format)
{
    pool_.reset();
    int linesizes[4] = {};
    if (av_image_fill_linesizes(linesizes, format, FFALIGN(width, kAlign)) < 0)
        return false;
    ptrdiff_t strides[4] = {};
    for (int i = 0; i < 4; ++i) {
        linesizes_[i] = FFALIGN(linesizes[i], kAlign);
        strides[i] = linesizes_[i];
    }
    size_t sizes[4] = {};
    if (av_image_fill_plane_sizes(sizes, format, FFALIGN(height, kRowAlign), strides) < 0)
        return false;
    std::size_t total = 0;
    planes_ = 0;
    for (int i = 0; i < 4 && sizes[i] > 0; ++i, ++planes_) {
        offsets_[i] = total;
        total += FFALIGN(sizes[i], std::size_t(kAlign)) + kAlign;
    }
    pool_.reset(av_buffer_pool_init(total, av_buffer_alloc));
    width_ = width;
    height_ = height;
    format_ = format;
    return bool(pool_);
}
