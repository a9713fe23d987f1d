// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

extern "C" {
#include <libavutil/display.h>
}

#include "dudidevar/picture/PictureGeometry.h"

namespace {

using PictureGeometry::place;

TEST(PictureGeometryTest, ADisplayMatrixGivesTheClockwiseTurnThatShowsThePictureUpright)
{
    // The matrix as a muxer writes it for a turn (a phone's portrait clip: 90).
    const struct {
        double written;
        int clockwise;
    } cases[] = {{0, 0}, {90, 90}, {-90, 270}, {180, 180}, {-180, 180}, {88.5, 90}, {-271, 90}};
    for (const auto& c : cases) {
        std::int32_t matrix[9];
        av_display_rotation_set(matrix, c.written);
        EXPECT_EQ(PictureGeometry::rotationOfMatrix(matrix), c.clockwise) << c.written;
    }
    const std::int32_t empty[9] = {};
    EXPECT_EQ(PictureGeometry::rotationOfMatrix(empty), 0);
}

TEST(PictureGeometryTest, ThePictureAsShownIsUprightAtSquarePixels)
{
    const struct {
        SourceShape source;
        int width, height;  // shown
        int evenWidth, evenHeight;
    } cases[] = {
        {{720, 576, {}, {16, 11}, 0}, 1047, 576, 1048, 576},  // wide PAL
        {{720, 480, {}, {8, 9}, 0}, 640, 480, 640, 480},      // DV NTSC
        {{1920, 1080, {}, {0, 1}, 90}, 1080, 1920, 1080, 1920},
        {{640, 272, {}, {1, 1}, 180}, 640, 272, 640, 272},
        {{480, 576, {}, {8, 5}, 270}, 360, 480, 360, 480},  // a turned SVCD frame
        {{161, 121, {}, {1, 1}, 0}, 161, 121, 160, 120},
        {{17, 15, {}, {1, 1}, 0}, 17, 15, 16, 14},
    };
    for (const auto& c : cases) {
        const auto shown = PictureGeometry::shownSize(c.source);
        const auto even = PictureGeometry::squareSize(c.source);
        EXPECT_EQ(shown.width, c.width) << c.source.width << "x" << c.source.height;
        EXPECT_EQ(shown.height, c.height) << c.source.width << "x" << c.source.height;
        EXPECT_EQ(even.width, c.evenWidth) << c.source.width << "x" << c.source.height;
        EXPECT_EQ(even.height, c.evenHeight) << c.source.width << "x" << c.source.height;
    }
    // Within a size limit, the shape stays.
    const auto phone = PictureGeometry::squareSizeWithin({1920, 1080, {}, {1, 1}, 90}, 640, 480);
    EXPECT_EQ(phone.width, 270);
    EXPECT_EQ(phone.height, 480);
}

// The display aspect a frame shows at with its pixel shape.
double frameAspect(AVRational sampleAspect, int width, int height)
{
    return av_q2d(sampleAspect) * width / height;
}

TEST(PictureGeometryTest, DiscFramesTakeTheAllowedShapeNearestThePicture)
{
    const FrameShapes dvd = FrameShapes::listed({{4, 3}, {16, 9}}, false);
    const FrameShapes vcd = FrameShapes::listed({{4, 3}}, false);
    const FrameShapes mpeg2 = FrameShapes::listed({{4, 3}, {16, 9}}, true);
    const struct {
        double picture;
        const FrameShapes& rules;
        int width, height;
        double frame;
    } cases[] = {
        {640.0 / 272, dvd, 720, 576, 16.0 / 9}, {1.25, dvd, 720, 576, 4.0 / 3},   {1.0, dvd, 720, 480, 4.0 / 3},
        {1.53, dvd, 480, 576, 4.0 / 3},         {1.56, dvd, 480, 576, 16.0 / 9}, {1.818, dvd, 720, 576, 16.0 / 9},
        {0.5625, dvd, 720, 576, 4.0 / 3},       {1.0, vcd, 352, 288, 4.0 / 3},   {16.0 / 9, vcd, 352, 240, 4.0 / 3},
        {1.25, mpeg2, 320, 256, 1.25},          {1.3, mpeg2, 320, 256, 4.0 / 3}, {2.35, mpeg2, 720, 576, 16.0 / 9},
    };
    for (const auto& c : cases) {
        const AVRational sar = PictureGeometry::frameSampleAspect(c.picture, c.width, c.height, c.rules);
        EXPECT_NEAR(frameAspect(sar, c.width, c.height), c.frame, 1e-6) << c.picture << " in " << c.width;
    }
    EXPECT_EQ(av_cmp_q(PictureGeometry::frameSampleAspect(1.9, 320, 240, FrameShapes::squareOnly()), {1, 1}), 0);
    const AVRational free = PictureGeometry::frameSampleAspect(720.0 * 16 / 11 / 576, 720, 576, FrameShapes::any());
    EXPECT_NEAR(av_q2d(free), 16.0 / 11, 0.001);
}

TEST(PictureGeometryTest, EveryPlacementIsCentredInsideTheFrameAndKeepsTheShapeWithinOnePercent)
{
    const FrameShapes rules[] = {FrameShapes::squareOnly(), FrameShapes::any(),
                                 FrameShapes::listed({{4, 3}, {16, 9}}, false), FrameShapes::listed({{4, 3}}, true)};
    const int frames[][2] = {{720, 576}, {720, 480}, {480, 576}, {352, 240}, {320, 240}, {1920, 1080}, {160, 112}};
    for (double picture = 0.3; picture < 4.0; picture *= 1.07) {
        for (const FrameShapes& rule : rules) {
            for (const auto& frame : frames) {
                const AVRational sar = PictureGeometry::frameSampleAspect(picture, frame[0], frame[1], rule);
                const PicturePlacement p = place(picture, frame[0], frame[1], sar);
                ASSERT_GE(p.x, 0);
                ASSERT_GE(p.y, 0);
                ASSERT_EQ(p.x % 2, 0);
                ASSERT_EQ(p.y % 2, 0);
                ASSERT_LE(p.x + p.width, frame[0]);
                ASSERT_LE(p.y + p.height, frame[1]);
                // Centred: the bar after the picture is at most three pixels wider than the one before.
                ASSERT_LE(frame[0] - p.width - 2 * p.x, 3);
                ASSERT_LE(frame[1] - p.height - 2 * p.y, 3);
                // Within 1 %, or half a pixel where the picture is too small for that.
                const double tolerance = std::max(0.01, 0.5 / std::min(p.width, p.height));
                EXPECT_NEAR(frameAspect(sar, p.width, p.height) / picture, 1.0, tolerance)
                    << picture << " in " << frame[0] << "x" << frame[1];
            }
        }
    }
    // A bar thinner than the rounding is none, and a tiny picture keeps its shape.
    EXPECT_EQ(place(1366.0 / 768, 720, 576, {64, 45}).height, 576);
    EXPECT_EQ(place(16.0 / 17, 16, 16, {1, 1}).width, 15);
}

}  // namespace
