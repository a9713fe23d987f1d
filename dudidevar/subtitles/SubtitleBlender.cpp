// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/subtitles/SubtitleBlender.h"

#include <algorithm>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

namespace {

std::uint8_t mix(std::uint8_t under, int over, int alpha)
{
    return std::uint8_t((under * (255 - alpha) + over * alpha + 127) / 255);
}

}  // namespace

// Studio-range BT.601 (full range for the JPEG formats), as the outputs are flagged.
SubtitleBlender::Yuv SubtitleBlender::toYuv(std::uint32_t rgb) const
{
    const double r = (rgb >> 16) & 0xff;
    const double g = (rgb >> 8) & 0xff;
    const double b = rgb & 0xff;
    const double y = 0.299 * r + 0.587 * g + 0.114 * b;
    const double u = (b - y) * 0.564;
    const double v = (r - y) * 0.713;
    if (fullRange_)
        return {int(y + 0.5), int(128.5 + u), int(128.5 + v)};
    return {int(16.5 + y * 219.0 / 255.0), int(128.5 + u * 224.0 / 255.0), int(128.5 + v * 224.0 / 255.0)};
}

namespace {

bool isPackedRgb(const AVPixFmtDescriptor* d)
{
    return d && d->nb_components >= 3 && (d->flags & AV_PIX_FMT_FLAG_RGB) && !(d->flags & AV_PIX_FMT_FLAG_PLANAR) &&
           d->comp[0].depth == 8 && (d->comp[0].step == 3 || d->comp[0].step == 4);
}

}  // namespace

bool SubtitleBlender::canDraw(int pixelFormat)
{
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(AVPixelFormat(pixelFormat));
    const bool planarYuv = d && d->nb_components >= 3 && (d->flags & AV_PIX_FMT_FLAG_PLANAR) &&
                           !(d->flags & AV_PIX_FMT_FLAG_RGB) && d->comp[0].depth == 8 && d->comp[0].plane == 0 &&
                           d->comp[1].plane == 1 && d->comp[2].plane == 2;
    return planarYuv || isPackedRgb(d);
}

SubtitleBlender::SubtitleBlender(AVFrame& frame, const PicturePlacement& inside) : frame_(frame), inside_(inside)
{
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(AVPixelFormat(frame.format));
    chromaShiftX_ = d ? d->log2_chroma_w : 1;
    chromaShiftY_ = d ? d->log2_chroma_h : 1;
    packed_ = isPackedRgb(d);
    if (packed_) {
        step_ = d->comp[0].step;
        red_ = d->comp[0].offset;
        green_ = d->comp[1].offset;
        blue_ = d->comp[2].offset;
    }
    fullRange_ = frame.format == AV_PIX_FMT_YUVJ420P || frame.format == AV_PIX_FMT_YUVJ422P ||
                 frame.format == AV_PIX_FMT_YUVJ444P || frame.color_range == AVCOL_RANGE_JPEG;
    inside_.x = std::max(0, inside_.x);
    inside_.y = std::max(0, inside_.y);
    inside_.width = std::min(inside_.width, frame.width - inside_.x);
    inside_.height = std::min(inside_.height, frame.height - inside_.y);
}

bool SubtitleBlender::inside(int x, int y) const
{
    return x >= inside_.x && y >= inside_.y && x < inside_.x + inside_.width && y < inside_.y + inside_.height;
}

void SubtitleBlender::blendRgbPixel(int x, int y, std::uint32_t rgb, int alpha)
{
    if (alpha <= 0 || !inside(x, y))
        return;
    std::uint8_t* p = frame_.data[0] + std::ptrdiff_t(y) * frame_.linesize[0] + std::ptrdiff_t(x) * step_;
    p[red_] = mix(p[red_], int((rgb >> 16) & 0xff), alpha);
    p[green_] = mix(p[green_], int((rgb >> 8) & 0xff), alpha);
    p[blue_] = mix(p[blue_], int(rgb & 0xff), alpha);
}

// Chroma is mixed once for each block of pixels that shares it, at its top left pixel.
void SubtitleBlender::blendPixel(int x, int y, const Yuv& c, int alpha)
{
    if (alpha <= 0 || !inside(x, y))
        return;
    std::uint8_t* luma = frame_.data[0] + std::ptrdiff_t(y) * frame_.linesize[0] + x;
    *luma = mix(*luma, c.y, alpha);
    const int stepX = 1 << chromaShiftX_;
    const int stepY = 1 << chromaShiftY_;
    if (x % stepX != 0 || y % stepY != 0)
        return;
    const std::ptrdiff_t cx = x >> chromaShiftX_;
    const std::ptrdiff_t cy = y >> chromaShiftY_;
    std::uint8_t* u = frame_.data[1] + cy * frame_.linesize[1] + cx;
    std::uint8_t* v = frame_.data[2] + cy * frame_.linesize[2] + cx;
    *u = mix(*u, c.u, alpha);
    *v = mix(*v, c.v, alpha);
}

void SubtitleBlender::blendMask(int x, int y, int width, int height, const std::uint8_t* mask, int stride,
                                std::uint32_t rgb, int opacity)
{
    const Yuv c = toYuv(rgb);
    // Only the part of the mask inside the picture.
    const int left = std::max(x, inside_.x);
    const int top = std::max(y, inside_.y);
    const int right = std::min(x + width, inside_.x + inside_.width);
    const int bottom = std::min(y + height, inside_.y + inside_.height);
    if (packed_) {
        for (int py = top; py < bottom; ++py) {
            for (int px = left; px < right; ++px)
                blendRgbPixel(px, py, rgb, mask[std::ptrdiff_t(py - y) * stride + (px - x)] * opacity / 255);
        }
        return;
    }
    const int stepX = 1 << chromaShiftX_;
    const int stepY = 1 << chromaShiftY_;
    for (int py = top; py < bottom; ++py) {
        const std::uint8_t* cover = mask + std::ptrdiff_t(py - y) * stride;
        std::uint8_t* luma = frame_.data[0] + std::ptrdiff_t(py) * frame_.linesize[0];
        const bool chromaRow = py % stepY == 0;
        std::uint8_t* u = frame_.data[1] + std::ptrdiff_t(py >> chromaShiftY_) * frame_.linesize[1];
        std::uint8_t* v = frame_.data[2] + std::ptrdiff_t(py >> chromaShiftY_) * frame_.linesize[2];
        for (int px = left; px < right; ++px) {
            const int covered = cover[px - x];
            if (!covered)
                continue;
            const int alpha = covered * opacity / 255;
            luma[px] = mix(luma[px], c.y, alpha);
            if (chromaRow && px % stepX == 0) {
                u[px >> chromaShiftX_] = mix(u[px >> chromaShiftX_], c.u, alpha);
                v[px >> chromaShiftX_] = mix(v[px >> chromaShiftX_], c.v, alpha);
            }
        }
    }
}

void SubtitleBlender::blendPicture(const std::uint32_t* pixels, int sourceWidth, int sourceHeight,
                                   const PicturePlacement& to)
{
    if (sourceWidth <= 0 || sourceHeight <= 0 || to.width <= 0 || to.height <= 0)
        return;
    for (int row = 0; row < to.height; ++row) {
        const int sy = int(std::int64_t(row) * sourceHeight / to.height);
        for (int col = 0; col < to.width; ++col) {
            const int sx = int(std::int64_t(col) * sourceWidth / to.width);
            const std::uint32_t p = pixels[std::size_t(sy) * std::size_t(sourceWidth) + std::size_t(sx)];
            if (p >> 24 && packed_)
                blendRgbPixel(to.x + col, to.y + row, p & 0xffffff, int(p >> 24));
            else if (p >> 24)
                blendPixel(to.x + col, to.y + row, toYuv(p & 0xffffff), int(p >> 24));
        }
    }
}
