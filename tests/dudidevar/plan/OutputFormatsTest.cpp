// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlTest.h"

namespace {

struct Expected {
    long code;
    const char* videoCodec;
    int width;
    int height;
    double fps;
    const char* audioCodec;
    int sampleRate;
    const char* container;
};

class OutputFormatsTest : public ControlTest, public ::testing::WithParamInterface<Expected> {};

TEST_P(OutputFormatsTest, GivesTheFormatsContainerCodecsSizeRateAndLength)
{
    const Expected e = GetParam();
    control.SetOutputFormat(e.code);
    control.SetOutputWidth(320);
    control.SetOutputHeight(240);
    control.SetFrameRate(e.code == 7 ? 24.0 : 23.976);
    control.SetVideoBitRate(e.code == 6 ? 1500 : 0);
    control.SetAudioBitRate(224);
    control.AddVideoClip(TestMedia::withSound(), 0, 2.0, 0);
    control.AddAudioClip(TestMedia::withSound(), 0, 2.0);
    const TestMedia::Info info = TestMedia::probe(convert("out"));

    EXPECT_EQ(info.format, e.container);
    ASSERT_TRUE(info.video());
    EXPECT_EQ(info.video()->codec, e.videoCodec);
    EXPECT_EQ(info.video()->width, e.width);
    EXPECT_EQ(info.video()->height, e.height);
    EXPECT_NEAR(info.video()->fps, e.fps, 0.001);
    EXPECT_NEAR(info.video()->frames, 2.0 * e.fps, 1.0);
    ASSERT_TRUE(info.audio());
    EXPECT_EQ(info.audio()->codec, e.audioCodec);
    EXPECT_EQ(info.audio()->sampleRate, e.sampleRate);
    EXPECT_EQ(info.audio()->channels, 2);
}

INSTANTIATE_TEST_SUITE_P(EveryCode, OutputFormatsTest,
                         ::testing::Values(Expected{0, "mpeg1video", 352, 288, 25.0, "mp2", 44100, "mpeg"},
                                           Expected{1, "mpeg1video", 352, 240, 30000.0 / 1001, "mp2", 44100, "mpeg"},
                                           Expected{2, "mpeg2video", 480, 576, 25.0, "mp2", 44100, "mpeg"},
                                           Expected{3, "mpeg2video", 480, 480, 30000.0 / 1001, "mp2", 44100, "mpeg"},
                                           Expected{4, "mpeg2video", 720, 576, 25.0, "ac3", 48000, "mpeg"},
                                           Expected{5, "mpeg2video", 720, 480, 30000.0 / 1001, "ac3", 48000, "mpeg"},
                                           Expected{6, "mpeg2video", 320, 240, 24000.0 / 1001, "mp2", 44100, "mpeg"},
                                           Expected{7, "mpeg4", 320, 240, 24.0, "mp3", 44100, "avi"},
                                           Expected{8, "wmv2", 160, 120, 25.0, "wmav2", 44100, "asf"}));

class OutputDetailsTest : public ControlTest {};

TEST_F(OutputDetailsTest, EveryAviCompressorWritesItsCodec)
{
    const std::string source = TestMedia::withSound();
    const char* videoCodecs[] = {"mpeg4", "mpeg4", "mjpeg", "h264", "huffyuv"};
    const char* audioCodecs[] = {"pcm_s16le", "mp2", "ac3", "mp3"};
    control.SetOutputFormat(7);
    control.SetOutputWidth(160);
    control.SetOutputHeight(112);
    control.SetFrameRate(15);
    control.SetUseVideoCompressor(true);
    control.SetUseAudioCompressor(true);
    control.AddVideoClip(source, 0, 0.5, 0);
    control.AddAudioClip(source, 0, 0.5);
    for (short i = 0; i < 5; ++i) {
        control.SetVideoCompressor(i);
        control.SetAudioCompressor(short(i % 4));
        const TestMedia::Info info = TestMedia::probe(convert("c" + std::to_string(i) + ".avi"));
        ASSERT_TRUE(info.video() && info.audio());
        EXPECT_EQ(info.video()->codec, videoCodecs[i]);
        EXPECT_EQ(info.audio()->codec, audioCodecs[i % 4]);
        EXPECT_EQ(info.video()->width, 160);
        EXPECT_EQ(info.video()->height, 112);
    }
}

TEST_F(OutputDetailsTest, KeptOddSourceSizeIsMadeEvenAndVideoOnlyHasNoSound)
{
    control.SetOutputFormat(7);
    control.AddVideoClip(TestMedia::silentOddSize(), 0, 2.0, 1);
    const TestMedia::Info info = TestMedia::probe(convert("odd.avi"));
    ASSERT_TRUE(info.video());
    EXPECT_EQ(info.video()->width, 160);
    EXPECT_EQ(info.video()->height, 120);
    EXPECT_FALSE(info.audio());
}

TEST_F(OutputDetailsTest, WmvKeepsTheProfilesSizeAndRateLimits)
{
    const std::string source = TestMedia::longer();
    control.SetOutputFormat(8);
    control.SetWmvProfile(6);  // 176×144 at most, 15 fps, mono sound
    control.SetOutputWidth(640);
    control.SetOutputHeight(360);
    control.AddVideoClip(source, 0, 1.0, 1);
    control.AddAudioClip(source, 0, 1.0);
    const TestMedia::Info info = TestMedia::probe(convert("small.wmv"));
    ASSERT_TRUE(info.video() && info.audio());
    EXPECT_EQ(info.video()->width, 176);
    EXPECT_EQ(info.video()->height, 98);
    EXPECT_NEAR(info.video()->fps, 15.0, 0.01);
    EXPECT_EQ(info.audio()->channels, 1);
}

TEST_F(OutputDetailsTest, VbrQualityOutsideItsRangeIsClampedAndStillConverts)
{
    control.SetOutputFormat(6);
    control.SetOutputWidth(160);
    control.SetOutputHeight(128);
    control.SetFrameRate(25);
    control.SetVbr(true);
    control.SetVbrQuality(500);
    control.AddVideoClip(TestMedia::withSound(), 0, 1.0, 0);
    for (long quality : {500L, -3L}) {
        control.SetVbrQuality(quality);
        const TestMedia::Info info = TestMedia::probe(convert("q" + std::to_string(quality) + ".mpg"));
        ASSERT_TRUE(info.video());
        EXPECT_EQ(info.video()->frames, 25) << quality;
    }
}

}  // namespace
