#include <gtest/gtest.h>

#include <QByteArray>

#include "RunRecorder.h"
#include "TestMedia.h"
#include "dudidevar/DudidEvarControl.h"
#include "dudidevar/PreviewSoundTrack.h"

namespace {

class SoundTrackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        control.SetEventSink(&events);
        folder = TestMedia::scratchFolder();
    }

    bool finished() { return events.waitForEnd() && events.done == 1 && events.failed == 0; }

    DudidEvarControl control;
    RunRecorder events;
    std::string folder;
};

// Recorded television switches between surround and stereo within one file.
TEST_F(SoundTrackTest, SoundThatChangesChannelsMidFileConvertsWhole)
{
    const std::string source = TestMedia::surroundThenStereo();
    control.SetOutputFormat(5);  // DVD PAL
    control.AddVideoClip(source, 0, 2, 0);
    control.AddAudioClip(source, 0, 2);
    ASSERT_TRUE(control.Convert(folder + "dvd.mpg"));
    ASSERT_TRUE(finished()) << events.reason;
    EXPECT_NEAR(TestMedia::soundSeconds(folder + "dvd.mpg"), 2.0, 0.1);
    EXPECT_EQ(TestMedia::filesIn(folder), std::vector<std::string>{"dvd.mpg"});
}

TEST_F(SoundTrackTest, SoundThatChangesRateAndChannelsMidFileIsSavedWhole)
{
    control.AddAudioClip(TestMedia::stereoThenMonoMp2(), 0, 2);
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "joined.wav", 2, 11025, 2));
    ASSERT_TRUE(finished()) << events.reason;
    EXPECT_NEAR(TestMedia::soundSeconds(folder + "joined.wav"), 2.0, 0.001);
    const std::vector<short> saved = TestMedia::monoSamples(folder + "joined.wav", 11025);
    EXPECT_GT(TestMedia::loudness(saved, 11025, 0.1, 0.9), 1000);
    EXPECT_GT(TestMedia::loudness(saved, 11025, 1.6, 1.95), 1000);
    EXPECT_NEAR(TestMedia::pitch(saved, 11025, 0.1, 0.9), 440, 5);
    EXPECT_NEAR(TestMedia::pitch(saved, 11025, 1.1, 1.9), 440, 5);

    PreviewSoundTrack preview;
    ASSERT_TRUE(preview.open({{TestMedia::stereoThenMonoMp2(), 0, 2, false}}, 2, 44100, 2));
    QByteArray sound;
    while (preview.produce(sound)) {
    }
    ASSERT_EQ(sound.size(), 2 * 44100 * 4);
    const auto* samples = reinterpret_cast<const short*>(sound.constData());
    const std::vector<short> played(samples, samples + sound.size() / 2);  // both channels, interleaved
    EXPECT_GT(TestMedia::loudness(played, 2 * 44100, 0.1, 0.9), 1000);
    EXPECT_GT(TestMedia::loudness(played, 2 * 44100, 1.6, 1.95), 1000);
}

}  // namespace
