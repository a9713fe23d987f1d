#include "dudidevar/PictureTurner.h"

#include <cstring>

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

// Where sample (x, y) of a width × height plane lands after the turn.
struct Turn {
    int rotation;
    int width;
    int height;

    void land(int x, int y, int* toX, int* toY) const
    {
        switch (rotation) {
        case 90:
            *toX = height - 1 - y;
            *toY = x;
            return;
        case 180:
            *toX = width - 1 - x;
            *toY = height - 1 - y;
            return;
        default:
            *toX = y;
            *toY = width - 1 - x;
        }
    }
};

void turnPlane(const std::uint8_t* from, int fromPitch, std::uint8_t* to, int toPitch, const Turn& turn,
               int bytes)
{
    for (int y = 0; y < turn.height; ++y) {
        const std::uint8_t* row = from + std::ptrdiff_t(y) * fromPitch;
        for (int x = 0; x < turn.width; ++x) {
            int toX = 0;
            int toY = 0;
            turn.land(x, y, &toX, &toY);
            std::memcpy(to + std::ptrdiff_t(toY) * toPitch + std::ptrdiff_t(toX) * bytes, row + x * bytes,
                        std::size_t(bytes));
        }
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
        turnPlane(source->data[plane], source->linesize[plane], turned_->data[plane], turned_->linesize[plane], turn,
                  bytes[plane]);
    }
    return turned_.get();
}
