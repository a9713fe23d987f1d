#include <gtest/gtest.h>

#include "RunRecorder.h"
#include "TestMedia.h"
#include "dudidevar/DudidEvarControl.h"

namespace {

class ClipListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        control.SetEventSink(&events);
        control.SetOutputFormat(7);
        control.SetUseVideoCompressor(true);
        control.SetUseAudioCompressor(true);
        control.SetVideoCompressor(4);  // lossless, so picture levels survive
        control.SetAudioCompressor(0);  // PCM, so the sound's length is exact
    }

    std::string convert(const std::string& name)
    {
        const std::string out = TestMedia::scratchFolder() + name;
        EXPECT_TRUE(control.Convert(out));
        EXPECT_TRUE(events.waitForEnd());
        EXPECT_EQ(events.done, 1) << events.reason;
        events = {};
        return out;
    }

    DudidEvarControl control;
    RunRecorder events;
};

TEST_F(ClipListTest, JoinOfThreeSourcesHasTheSummedLengthWithSoundThroughout)
{
    const std::string a = TestMedia::withSound();
    const std::string b = TestMedia::silentOddSize();
    const std::string c = TestMedia::mpegWithMonoSound();
    const double total = control.GetDuration(a) + control.GetDuration(b) + control.GetDuration(c);
    control.SetOutputWidth(176);
    control.SetOutputHeight(144);
    control.SetFrameRate(20);
    for (const std::string& source : {a, b, c}) {
        control.AddVideoClip(source, 0, control.GetDuration(source), 0);
        control.AddAudioClip(source, 0, control.GetDuration(source));
    }
    const std::string out = convert("join.avi");
    const TestMedia::Info info = TestMedia::probe(out);
    ASSERT_TRUE(info.video() && info.audio());
    EXPECT_NEAR(info.video()->frames / 20.0, total, 1.0 / 20);
    EXPECT_NEAR(TestMedia::soundSeconds(out), total, 1.0 / 20);
    EXPECT_EQ(info.video()->width, 176);
}

TEST_F(ClipListTest, SpanStartsWithTheFrameShownAtItsStartAndEndsBeforeTheFrameAtItsEnd)
{
    const std::string source = TestMedia::frameCounter();  // a grey level per frame at 25 fps
    control.AddVideoClip(source, 1.0, 2.0, 1);
    control.AddAudioClip(source, 1.0, 2.0);
    control.SetFrameRate(25);
    const std::string out = convert("span.avi");
    const TestMedia::Info info = TestMedia::probe(out);
    ASSERT_TRUE(info.video() && info.audio());
    EXPECT_EQ(info.video()->frames, 25);
    EXPECT_NEAR(TestMedia::soundSeconds(out), 1.0, 0.001);
    EXPECT_NEAR(TestMedia::greyLevelOfFrame(out, 0), TestMedia::greyLevelOfFrame(source, 25), 1);
    EXPECT_NEAR(TestMedia::greyLevelOfFrame(out, 24), TestMedia::greyLevelOfFrame(source, 49), 1);
}

TEST_F(ClipListTest, SplitPartsJoinWithoutGapOrOverlap)
{
    const std::string source = TestMedia::frameCounter();  // 3 s
    control.SetFrameRate(25);
    std::vector<std::string> parts;
    for (double start : {0.0, 1.0, 2.0}) {
        control.ClearClips();
        control.AddVideoClip(source, start, start + 1.0, 1);
        control.AddAudioClip(source, start, start + 1.0);
        parts.push_back(convert("part" + std::to_string(int(start)) + ".avi"));
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(TestMedia::probe(parts[std::size_t(i)]).video()->frames, 25);
        EXPECT_NEAR(TestMedia::greyLevelOfFrame(parts[std::size_t(i)], 0), TestMedia::greyLevelOfFrame(source, 25 * i), 1)
            << "part " << i;
    }
}

TEST_F(ClipListTest, FrameRateConversionKeepsTheLengthAndSilentSourceGetsSilence)
{
    const std::string source = TestMedia::silentOddSize();  // 30 fps, no sound
    control.SetOutputWidth(160);
    control.SetOutputHeight(120);
    control.SetFrameRate(12);
    control.AddVideoClip(source, 0, 2.0, 0);
    control.AddAudioClip(source, 0, 2.0);
    const std::string out = convert("silence.avi");
    const TestMedia::Info info = TestMedia::probe(out);
    ASSERT_TRUE(info.video() && info.audio());
    EXPECT_EQ(info.video()->frames, 24);
    EXPECT_NEAR(TestMedia::soundSeconds(out), 2.0, 0.001);
}

}  // namespace
