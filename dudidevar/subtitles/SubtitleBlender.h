// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "dudidevar/picture/PictureGeometry.h"

struct AVFrame;

// Lays coloured coverage over a picture in planar 8-bit YUV (the output frames of every
// kind) or packed 24- and 32-bit RGB (still pictures, the preview), limited to a rectangle of it: a pixel's colour
// moves toward the subtitle's by how much the subtitle covers it.
class SubtitleBlender {
public:
    // Whether frames of that pixel format can be drawn on.
    static bool canDraw(int pixelFormat);

    SubtitleBlender(AVFrame& frame, const PicturePlacement& inside);
    // A mask of coverage (0-255) in one colour 0xRRGGBB with its opacity 0-255, its top left
    // corner at x, y of the frame.
    void blendMask(int x, int y, int width, int height, const std::uint8_t* mask, int stride, std::uint32_t rgb,
                   int opacity);
    // Straight-alpha 0xAARRGGBB pixels of sourceWidth × sourceHeight stretched over the
    // rectangle `to` of the frame.
    void blendPicture(const std::uint32_t* pixels, int sourceWidth, int sourceHeight, const PicturePlacement& to);

private:
    struct Yuv {
        int y;
        int u;
        int v;
    };
    Yuv toYuv(std::uint32_t rgb) const;
    void blendPixel(int x, int y, const Yuv& colour, int alpha);
    void blendRgbPixel(int x, int y, std::uint32_t rgb, int alpha);
    bool inside(int x, int y) const;

    AVFrame& frame_;
    PicturePlacement inside_;
    int chromaShiftX_ = 1;
    int chromaShiftY_ = 1;
    bool fullRange_ = false;
    bool packed_ = false;  // RGB: the bytes of a pixel, and which is red, green and blue
    int step_ = 4;
    int red_ = 0;
    int green_ = 1;
    int blue_ = 2;
};
