// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <string>
#include <vector>

#include "TestMedia.h"

extern "C" {
#include <libavutil/imgutils.h>
}
#include "dudidevar/picture/PictureStages.h"
#include "dudidevar/picture/PlacedScaler.h"
#include "dudidevar/picture/PictureTrack.h"
#include "dudidevar/picture/SerialPictures.h"

namespace {

struct Made {
    std::vector<std::string> frames;  // "pts:checksum" of each frame
    std::string error;
};

std::string fingerprint(const AVFrame& frame)
{
    std::uint64_t sum = 1469598103934665603ull;
    for (int plane = 0; plane < 3; ++plane) {
        const int rows = plane == 0 ? frame.height : (frame.height + 1) / 2;
        const int bytes = plane == 0 ? frame.width : (frame.width + 1) / 2;
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t* row = frame.data[plane] + std::ptrdiff_t(y) * frame.linesize[plane];
            for (int x = 0; x < bytes; ++x)
                sum = (sum ^ row[x]) * 1099511628211ull;
        }
    }
    return std::to_string(frame.pts) + ":" + std::to_string(sum);
}

bool openTrack(PictureTrack& track, const std::vector<Clip>& clips, AVRational rate, std::string* error)
{
    if (!track.open(clips, error))
        return false;
    PicturePlan plan;
    plan.enabled = true;
    plan.width = 320;
    plan.height = 240;
    plan.frameRate = rate;
    track.setOutput(plan);
    return true;
}

// Every frame of the track, made by `next` until the track is complete or fails.
Made drain(const PictureTrack& track, const std::function<ff::Frame(std::string*)>& next)
{
    Made made;
    for (std::int64_t i = 0; i < track.frameCount(); ++i) {
        ff::Frame frame = next(&made.error);
        if (!frame)
            break;
        made.frames.push_back(fingerprint(*frame));
    }
    return made;
}

// A picture of noise, so that a band scaled from the wrong rows shows.
ff::Frame noise(int width, int height, AVPixelFormat format)
{
    ff::Frame frame = ff::makeFrame();
    frame->width = width;
    frame->height = height;
    frame->format = format;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    std::uint32_t state = 12345;
    for (int plane = 0; plane < 4 && frame->buf[plane]; ++plane) {
        for (std::size_t i = 0; i < frame->buf[plane]->size; ++i) {
            state = state * 1664525u + 1013904223u;
            frame->buf[plane]->data[i] = std::uint8_t(state >> 24);
        }
    }
    return frame;
}

std::vector<std::uint8_t> bytesOf(const AVFrame& frame)
{
    const int size = av_image_get_buffer_size(AVPixelFormat(frame.format), frame.width, frame.height, 1);
    std::vector<std::uint8_t> bytes(std::size_t(std::max(size, 0)));
    av_image_copy_to_buffer(bytes.data(), size, frame.data, frame.linesize, AVPixelFormat(frame.format),
                            frame.width, frame.height, 1);
    return bytes;
}

// Every frame a supply of the given kind makes of the clips: on one thread, or in stages.
template <class Supply>
Made madeBy(const std::vector<Clip>& clips, AVRational rate)
{
    PictureTrack track;
    Made made;
    if (!openTrack(track, clips, rate, &made.error))
        return made;
    Supply pictures(track);
    return drain(track, [&](std::string* error) { return pictures.next(error); });
}

}  // namespace

// The stages hand the encoder exactly the frames the track makes on one thread, in order: across
// joined spans of other sizes and rates, where one source picture fills several output frames,
// and up to the same reason where a source breaks off.
TEST(PictureStagesTest, TheSameFramesAndTheSameFailureAsOnOneThread)
{
    struct Case {
        const char* name;
        std::vector<Clip> clips;
        AVRational rate;
        bool fails;
    };
    const Case cases[] = {
        {"join of two sizes and rates",
         {{TestMedia::withSound(), 0.0, 2.0}, {TestMedia::silentOddSize(), 0.5, 1.5}},
         {25, 1},
         false},
        {"each source picture shown twice", {{TestMedia::frameCounter(), 1.0, 2.0}}, {50, 1}, false},
        {"fewer output frames than source pictures", {{TestMedia::silentOddSize(), 0.0, 2.0}}, {12, 1}, false},
        {"a source cut short", {{TestMedia::truncated(), 0.0, 2.0}}, {25, 1}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Made one = madeBy<SerialPictures>(c.clips, c.rate);
        const Made staged = madeBy<PictureStages>(c.clips, c.rate);
        EXPECT_EQ(staged.frames, one.frames);
        EXPECT_EQ(staged.error, one.error);
        EXPECT_EQ(!one.error.empty(), c.fails) << one.error;
        EXPECT_FALSE(one.frames.empty());
    }
}

// Scaled in bands on several threads, a picture comes out exactly as on one thread, placed
// inside bars or filling the frame, also on the scaler made anew for a second size.
TEST(PictureStagesTest, BandsOnThreadsScaleExactlyAsOneThread)
{
    struct Case {
        int sourceWidth, sourceHeight;
        AVPixelFormat sourceFormat;
        int width, height;
        AVPixelFormat format;
        PicturePlacement where;
    };
    const Case cases[] = {
        {1280, 720, AV_PIX_FMT_YUV420P, 720, 480, AV_PIX_FMT_YUV420P, {0, 38, 720, 404}},
        {161, 121, AV_PIX_FMT_YUVJ420P, 352, 288, AV_PIX_FMT_YUV420P, {16, 0, 320, 288}},
        {720, 576, AV_PIX_FMT_YUV422P, 640, 360, AV_PIX_FMT_YUV420P, {0, 0, 640, 360}},
        {1080, 1920, AV_PIX_FMT_YUV420P, 854, 480, AV_PIX_FMT_BGRA, {292, 0, 270, 480}},
    };
    PlacedScaler one;
    PlacedScaler bands;
    bands.setThreads(4);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sourceWidth) + "x" + std::to_string(c.sourceHeight) + " into " +
                     std::to_string(c.width) + "x" + std::to_string(c.height));
        const ff::Frame source = noise(c.sourceWidth, c.sourceHeight, c.sourceFormat);
        ASSERT_TRUE(source);
        const ff::Frame expected = one.scale(*source, c.width, c.height, c.format, c.where, SWS_BICUBIC);
        const ff::Frame banded = bands.scale(*source, c.width, c.height, c.format, c.where, SWS_BICUBIC);
        ASSERT_TRUE(expected && banded);
        EXPECT_TRUE(bytesOf(*banded) == bytesOf(*expected));
    }
}

// A picture already of the output's size and format reaches the encoder on its own buffers,
// without a copy, and bare as a scaled one: a decoder's picture type would force a key frame,
// its side data and colour description would reach the encoder.
TEST(PictureStagesTest, APictureOfTheOutputsShapeIsHandedOnWithoutACopy)
{
    const ff::Frame source = noise(1280, 720, AV_PIX_FMT_YUV420P);
    ASSERT_TRUE(source);
    source->pict_type = AV_PICTURE_TYPE_I;
    source->color_range = AVCOL_RANGE_JPEG;
    source->pts = 40;
    ASSERT_TRUE(av_frame_new_side_data(source.get(), AV_FRAME_DATA_A53_CC, 16));
    for (int threads : {1, 2}) {
        PlacedScaler scaler;
        scaler.setThreads(threads);
        const ff::Frame frame =
            scaler.scale(*source, 1280, 720, AV_PIX_FMT_YUV420P, {0, 0, 1280, 720}, SWS_BICUBIC);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->data[0], source->data[0]);
        EXPECT_TRUE(bytesOf(*frame) == bytesOf(*source));
        EXPECT_EQ(frame->pict_type, AV_PICTURE_TYPE_NONE);
        EXPECT_EQ(frame->color_range, AVCOL_RANGE_UNSPECIFIED);
        EXPECT_EQ(frame->pts, AV_NOPTS_VALUE);
        EXPECT_EQ(frame->nb_side_data, 0);
    }
    // Another size, format or a placement with bars still goes through the scaler.
    PlacedScaler scaler;
    const ff::Frame barred = scaler.scale(*source, 1280, 720, AV_PIX_FMT_YUV420P, {160, 0, 960, 720}, SWS_BICUBIC);
    const ff::Frame other = scaler.scale(*source, 1280, 720, AV_PIX_FMT_YUV422P, {0, 0, 1280, 720}, SWS_BICUBIC);
    ASSERT_TRUE(barred && other);
    EXPECT_NE(barred->data[0], source->data[0]);
    EXPECT_NE(other->data[0], source->data[0]);
}

// The scaler writes whole blocks of pixels; none of them may spill into the bars beside a
// picture whose width is no multiple of a block (a portrait clip on a VCD is 149 of 352).
TEST(PictureStagesTest, BarsStayBlackBesideAPictureOfAnyWidth)
{
    const ff::Frame source = noise(720, 1280, AV_PIX_FMT_YUV420P);
    ASSERT_TRUE(source);
    for (int threads : {1, 2}) {
        PlacedScaler scaler;
        scaler.setThreads(threads);
        for (int width : {149, 150, 151, 153}) {
            SCOPED_TRACE(std::to_string(width) + " wide on " + std::to_string(threads) + " threads");
            const PicturePlacement where{100, 0, width, 288};
            const ff::Frame frame = scaler.scale(*source, 352, 288, AV_PIX_FMT_YUV420P, where, SWS_BICUBIC);
            ASSERT_TRUE(frame);
            int spilt = 0;
            for (int y = 0; y < 288; ++y) {
                const std::uint8_t* row = frame->data[0] + std::ptrdiff_t(y) * frame->linesize[0];
                for (int x = 0; x < 352; ++x)
                    spilt += (x < 100 || x >= 100 + width) && row[x] != 16;
            }
            EXPECT_EQ(spilt, 0);
        }
    }
}

// A run stopped after its first frame ends its stages at once, though both wait on full queues,
// and they never ran more than a few frames ahead of it.
TEST(PictureStagesTest, StoppingEndsStagesThatWaitForRoom)
{
    PictureTrack track;
    std::string error;
    ASSERT_TRUE(openTrack(track, {{TestMedia::longer(), 0.0, 12.0}}, {25, 1}, &error)) << error;
    const auto started = std::chrono::steady_clock::now();
    {
        PictureStages stages(track);
        ASSERT_TRUE(stages.next(&error)) << error;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));  // both queues fill up
    }
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_LT(took, std::chrono::seconds(2));
    EXPECT_LE(track.secondsDone() * 25, 8 + 8 + 4.0);  // two queues of at most eight, and the frames in hand
}

// A stop that comes while the decode stage goes forward a long way to a span's start (its
// file's only key frame is far before it) ends that decode within a picture or two: the stages
// answer "stopped" at once rather than after the span's first picture.
TEST(PictureStagesTest, AStopEndsALongForwardDecode)
{
    const std::string farFromKey = TestMedia::made(
        "far-from-key.avi", {"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=30", "-c:v", "mpeg4", "-q:v",
                             "10", "-g", "1000", "-an"});
    PictureTrack track;
    std::string error;
    ASSERT_TRUE(openTrack(track, {{TestMedia::withSound(), 0.0, 0.2}, {farFromKey, 29.0, 30.0}}, {25, 1}, &error))
        << error;
    std::atomic<bool> stop{false};
    track.watchStopFlag(&stop);
    PictureStages stages(track);
    for (int frame = 0; frame < 5; ++frame)
        ASSERT_TRUE(stages.next(&error)) << error;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // well into the forward decode
    stop = true;
    const auto stopped = std::chrono::steady_clock::now();
    while (stages.next(&error)) {
    }
    EXPECT_EQ(error, "stopped");
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::milliseconds(200));
}
