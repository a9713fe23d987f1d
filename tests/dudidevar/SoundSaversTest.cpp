#include <gtest/gtest.h>

#include "RunRecorder.h"
#include "TestMedia.h"
#include "dudidevar/DudidEvarControl.h"

namespace {

class SoundSaversTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        control.SetEventSink(&events);
        folder = TestMedia::scratchFolder();
    }

    void addWhole(const std::string& source)
    {
        control.AddAudioClip(source, 0, control.GetDuration(source));
    }

    bool finished()
    {
        return events.waitForEnd() && events.done == 1 && events.failed == 0;
    }

    DudidEvarControl control;
    RunRecorder events;
    std::string folder;
};

TEST_F(SoundSaversTest, WavHasTheAskedChannelsRateAndSampleSizeAndTheSourcesLength)
{
    addWhole(TestMedia::withSound());
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "a.wav", 2, 11025, 2));
    ASSERT_TRUE(finished()) << events.reason;
    const TestMedia::Info info = TestMedia::probe(folder + "a.wav");
    ASSERT_TRUE(info.audio());
    EXPECT_EQ(info.format, "wav");
    EXPECT_EQ(info.audio()->codec, "pcm_s16le");
    EXPECT_EQ(info.audio()->channels, 2);
    EXPECT_EQ(info.audio()->sampleRate, 11025);
    EXPECT_NEAR(TestMedia::soundSeconds(folder + "a.wav"), control.GetDuration(TestMedia::withSound()), 0.001);
}

TEST_F(SoundSaversTest, WmaIsWindowsMediaAudio2AndJoinsTwoSources)
{
    addWhole(TestMedia::withSound());
    addWhole(TestMedia::mpegWithMonoSound());
    const double total = control.GetDuration(TestMedia::withSound()) + control.GetDuration(TestMedia::mpegWithMonoSound());
    ASSERT_TRUE(control.SaveAudioAsWma(folder + "j.wma"));
    ASSERT_TRUE(finished()) << events.reason;
    const TestMedia::Info info = TestMedia::probe(folder + "j.wma");
    ASSERT_TRUE(info.audio());
    EXPECT_EQ(info.format, "asf");
    EXPECT_EQ(info.audio()->codec, "wmav2");
    EXPECT_EQ(info.audio()->channels, 2);
    EXPECT_EQ(info.audio()->sampleRate, 44100);
    EXPECT_FALSE(info.video());
    EXPECT_NEAR(TestMedia::soundSeconds(folder + "j.wma"), total, 0.05);
}

TEST_F(SoundSaversTest, OtherWavShapesAndImpossibleOnes)
{
    addWhole(TestMedia::withSound());
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "m.wav", 1, 22050, 1));
    ASSERT_TRUE(finished());
    const TestMedia::Info info = TestMedia::probe(folder + "m.wav");
    ASSERT_TRUE(info.audio());
    EXPECT_EQ(info.audio()->codec, "pcm_u8");
    EXPECT_EQ(info.audio()->channels, 1);
    EXPECT_FALSE(control.SaveAudioAsWav(folder + "x.wav", 0, 11025, 2));
    EXPECT_FALSE(control.SaveAudioAsWav(folder + "x.wav", 2, 11025, 7));
    EXPECT_EQ(TestMedia::filesIn(folder), std::vector<std::string>{"m.wav"});
}

TEST_F(SoundSaversTest, SourceWithoutSoundIsRefusedRatherThanWrittenSilent)
{
    addWhole(TestMedia::silentOddSize());
    EXPECT_FALSE(control.SaveAudioAsWma(folder + "s.wma"));
    EXPECT_FALSE(control.SaveAudioAsWav(folder + "s.wav", 2, 11025, 2));
    control.ClearClips();
    EXPECT_FALSE(control.SaveAudioAsWav(folder + "e.wav", 2, 11025, 2));
    EXPECT_TRUE(TestMedia::filesIn(folder).empty());
}

TEST_F(SoundSaversTest, StopMidRunLeavesNothing)
{
    for (int i = 0; i < 8; ++i)
        addWhole(TestMedia::longer());
    ASSERT_TRUE(control.SaveAudioAsWma(folder + "long.wma"));
    control.Stop();
    events = {};
    RunRecorder::pump(200);
    EXPECT_EQ(events.done + events.failed + events.progress, 0);
    EXPECT_TRUE(TestMedia::filesIn(folder).empty());
}

}  // namespace
