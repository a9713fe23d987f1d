// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlTest.h"

namespace {

class ClipListTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        control.SetOutputFormat(7);
        control.SetUseVideoCompressor(true);
        control.SetUseAudioCompressor(true);
        control.SetVideoCompressor(4);  // lossless, so picture levels survive
        control.SetAudioCompressor(0);  // PCM, so the sound's length is exact
        control.SetFrameRate(25);
    }
};

TEST_F(ClipListTest, JoinOfThreeSourcesHasTheSummedLengthWithSoundThroughout)
{
    const std::string sources[] = {TestMedia::withSound(), TestMedia::silentOddSize(), TestMedia::mpegWithMonoSound()};
    double total = 0;
    for (const std::string& source : sources) {
        total += control.GetDuration(source);
        addWhole(source);
    }
    control.SetOutputWidth(176);
    control.SetOutputHeight(144);
    control.SetFrameRate(20);
    const std::string out = convert("join.avi");
    const TestMedia::Info info = TestMedia::probe(out);
    ASSERT_TRUE(info.video() && info.audio());
    EXPECT_NEAR(info.video()->frames / 20.0, total, 1.0 / 20);
    EXPECT_NEAR(TestMedia::soundSeconds(out), total, 1.0 / 20);
    EXPECT_EQ(info.video()->width, 176);
}

// A span starts with the frame shown at its start and ends before the frame at its end, so
// split parts join without gap or overlap.
TEST_F(ClipListTest, SplitPartsJoinWithoutGapOrOverlap)
{
    const std::string source = TestMedia::frameCounter();  // 3 s, a grey level per frame at 25 fps
    for (int part = 0; part < 3; ++part) {
        control.ClearClips();
        control.AddVideoClip(source, part, part + 1.0, 1);
        control.AddAudioClip(source, part, part + 1.0);
        const std::string out = convert("part" + std::to_string(part) + ".avi");
        EXPECT_EQ(TestMedia::probe(out).video()->frames, 25) << "part " << part;
        EXPECT_NEAR(TestMedia::soundSeconds(out), 1.0, 0.001) << "part " << part;
        EXPECT_NEAR(TestMedia::greyLevelOfFrame(out, 0), TestMedia::greyLevelOfFrame(source, 25 * part), 1) << part;
        EXPECT_NEAR(TestMedia::greyLevelOfFrame(out, 24), TestMedia::greyLevelOfFrame(source, 25 * part + 24), 1) << part;
    }
}

TEST_F(ClipListTest, FrameRateConversionKeepsTheLengthAndSilentSourceGetsSilence)
{
    control.SetOutputWidth(160);
    control.SetOutputHeight(120);
    control.SetFrameRate(12);
    control.AddVideoClip(TestMedia::silentOddSize(), 0, 2.0, 0);  // 30 fps, no sound
    control.AddAudioClip(TestMedia::silentOddSize(), 0, 2.0);
    const std::string out = convert("silence.avi");
    const TestMedia::Info info = TestMedia::probe(out);
    ASSERT_TRUE(info.video() && info.audio());
    EXPECT_EQ(info.video()->frames, 24);
    EXPECT_NEAR(TestMedia::soundSeconds(out), 2.0, 0.001);
}

}  // namespace
