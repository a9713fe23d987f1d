// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "dudidevar/picture/PictureTurner.h"

namespace {

// A grey picture whose samples count up row by row: 0 1 2 / 3 4 5 for 3 × 2.
ff::Frame counting(int width, int height, AVPixelFormat format)
{
    ff::Frame frame = ff::makeFrame();
    frame->width = width;
    frame->height = height;
    frame->format = format;
    EXPECT_GE(av_frame_get_buffer(frame.get(), 0), 0);
    av_frame_make_writable(frame.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame->data[0][y * frame->linesize[0] + x] = std::uint8_t(10 * (y * width + x) + 16);
    return frame;
}

std::string rows(const AVFrame& frame)
{
    std::string text;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x)
            text += char('0' + (frame.data[0][y * frame.linesize[0] + x] - 16) / 10);
        text += y + 1 < frame.height ? "/" : "";
    }
    return text;
}

TEST(PictureTurnerTest, TurnsClockwiseByQuarterAndHalfTurns)
{
    // 012 / 345 turned as a player shows it.
    const struct {
        int rotation;
        const char* shown;
    } cases[] = {{0, "012/345"}, {90, "30/41/52"}, {180, "543/210"}, {270, "25/14/03"}};
    for (AVPixelFormat format : {AV_PIX_FMT_GRAY8, AV_PIX_FMT_YUV420P, AV_PIX_FMT_YUV422P}) {
        const ff::Frame picture = counting(3, 2, format);
        for (const auto& c : cases) {
            PictureTurner turner;
            std::string error;
            const AVFrame* turned = turner.turn(*picture, c.rotation, &error);
            ASSERT_TRUE(turned) << error;
            EXPECT_EQ(rows(*turned), c.shown) << av_get_pix_fmt_name(format) << " " << c.rotation;
        }
    }
}

}  // namespace
