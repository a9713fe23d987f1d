// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/picture/PictureTurner.h"

#include <algorithm>
#include <cstdint>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace {

bool samplesAlike(AVPixelFormat format)
{
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    return desc && desc->log2_chroma_w == desc->log2_chroma_h &&
           !(desc->flags & (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL));
}

// The plane turned: width × height samples of the source.
struct Turn {
    int rotation;
    int width;
    int height;
};

// Square tiles keep both the rows read and the rows written in the cache.
constexpr int kTile = 32;

// Where sample (x, y) of the source lands: clockwise a quarter turn, a half turn, or three quarters.
template <int Rotation>
void land(const Turn& turn, int x, int y, int* toX, int* toY)
{
    if constexpr (Rotation == 90) {
        *toX = turn.height - 1 - y;
        *toY = x;
    } else if constexpr (Rotation == 180) {
        *toX = turn.width - 1 - x;
        *toY = turn.height - 1 - y;
    } else {
        *toX = y;
        *toY = turn.width - 1 - x;
    }
}

template <typename Sample, int Rotation>
void turnTile(const std::uint8_t* from, int fromPitch, std::uint8_t* to, int toPitch, const Turn& turn, int left,
              int top)
{
    const int right = std::min(left + kTile, turn.width);
    const int bottom = std::min(top + kTile, turn.height);
    for (int y = top; y < bottom; ++y) {
        const auto* row = reinterpret_cast<const Sample*>(from + std::ptrdiff_t(y) * fromPitch);
        for (int x = left; x < right; ++x) {
            int toX = 0;
            int toY = 0;
            land<Rotation>(turn, x, y, &toX, &toY);
            reinterpret_cast<Sample*>(to + std::ptrdiff_t(toY) * toPitch)[toX] = row[x];
        }
    }
}

// A sample of an odd size (packed RGB): copied byte by byte.
struct ThreeBytes {
    std::uint8_t bytes[3];
};
struct SixBytes {
    std::uint8_t bytes[6];
};

template <typename Sample, int Rotation>
void turnTiles(const std::uint8_t* from, int fromPitch, std::uint8_t* to, int toPitch, const Turn& turn)
{
    for (int top = 0; top < turn.height; top += kTile)
        for (int left = 0; left < turn.width; left += kTile)
            turnTile<Sample, Rotation>(from, fromPitch, to, toPitch, turn, left, top);
}

template <typename Sample>
void turnPlaneOf(const std::uint8_t* from, int fromPitch, std::uint8_t* to, int toPitch, const Turn& turn)
{
    if (turn.rotation == 90)
        turnTiles<Sample, 90>(from, fromPitch, to, toPitch, turn);
    else if (turn.rotation == 180)
        turnTiles<Sample, 180>(from, fromPitch, to, toPitch, turn);
    else
        turnTiles<Sample, 270>(from, fromPitch, to, toPitch, turn);
}

bool turnPlane(const std::uint8_t* from, int fromPitch, std::uint8_t* to, int toPitch, const Turn& turn, int bytes)
{
    switch (bytes) {
    case 1:
        turnPlaneOf<std::uint8_t>(from, fromPitch, to, toPitch, turn);
        return true;
    case 2:
        turnPlaneOf<std::uint16_t>(from, fromPitch, to, toPitch, turn);
        return true;
    case 3:
        turnPlaneOf<ThreeBytes>(from, fromPitch, to, toPitch, turn);
        return true;
    case 4:
        turnPlaneOf<std::uint32_t>(from, fromPitch, to, toPitch, turn);
        return true;
    case 6:
        turnPlaneOf<SixBytes>(from, fromPitch, to, toPitch, turn);
        return true;
    case 8:
        turnPlaneOf<std::uint64_t>(from, fromPitch, to, toPitch, turn);
        return true;
    default:
        return false;
    }
}

}  // namespace

// The picture itself, or the picture brought to 4:4:4 when its planes cannot be turned as
// they are.
const AVFrame* PictureTurner::turnable(const AVFrame& picture)
{
    const auto format = AVPixelFormat(picture.format);
    if (samplesAlike(format))
        return &picture;
    sws_.reset(sws_getCachedContext(sws_.release(), picture.width, picture.height, format, picture.width,
                                    picture.height, AV_PIX_FMT_YUV444P, SWS_POINT, nullptr, nullptr, nullptr));
    even_ = ff::makeFrame();
    if (!sws_ || !even_)
        return nullptr;
    even_->width = picture.width;
    even_->height = picture.height;
    even_->format = AV_PIX_FMT_YUV444P;
    if (av_frame_get_buffer(even_.get(), 0) < 0 ||
        sws_scale(sws_.get(), picture.data, picture.linesize, 0, picture.height, even_->data, even_->linesize) !=
            picture.height)
        return nullptr;
    return even_.get();
}

const AVFrame* PictureTurner::turn(const AVFrame& picture, int rotation, std::string* error)
{
    if (rotation != 90 && rotation != 180 && rotation != 270)
        return &picture;
    const AVFrame* source = turnable(picture);
    turned_ = ff::makeFrame();
    if (!source || !turned_) {
        *error = "cannot turn the picture upright";
        return nullptr;
    }
    const bool quarter = rotation != 180;
    turned_->width = quarter ? source->height : source->width;
    turned_->height = quarter ? source->width : source->height;
    turned_->format = source->format;
    if (av_frame_get_buffer(turned_.get(), 0) < 0 || av_frame_copy_props(turned_.get(), source) < 0) {
        *error = "out of memory";
        return nullptr;
    }
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(AVPixelFormat(source->format));
    int bytes[4] = {};
    av_image_fill_max_pixsteps(bytes, nullptr, desc);
    for (int plane = 0; plane < 4 && source->data[plane]; ++plane) {
        const int shift = plane == 1 || plane == 2 ? desc->log2_chroma_w : 0;
        const Turn turn{rotation, AV_CEIL_RSHIFT(source->width, shift), AV_CEIL_RSHIFT(source->height, shift)};
        if (!turnPlane(source->data[plane], source->linesize[plane], turned_->data[plane], turned_->linesize[plane],
                       turn, bytes[plane])) {
            *error = "cannot turn pictures of this pixel format";
            return nullptr;
        }
    }
    return turned_.get();
}
