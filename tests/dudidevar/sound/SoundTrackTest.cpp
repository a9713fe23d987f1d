// SPDX-License-Identifier: GPL-3.0-or-later
#include <QByteArray>

#include "ControlTest.h"
#include "dudidevar/preview/PreviewSoundTrack.h"

namespace {

using SoundTrackTest = ControlTest;

// Recorded television switches between surround and stereo within one file.
TEST_F(SoundTrackTest, SoundThatChangesChannelsMidFileConvertsWhole)
{
    const std::string source = TestMedia::surroundThenStereo();
    control.SetOutputFormat(5);  // DVD PAL
    control.AddVideoClip(source, 0, 2, 0);
    control.AddAudioClip(source, 0, 2);
    EXPECT_NEAR(TestMedia::soundSeconds(convert("dvd.mpg")), 2.0, 0.1);
    EXPECT_EQ(TestMedia::filesIn(folder), std::vector<std::string>{"dvd.mpg"});
}

TEST_F(SoundTrackTest, SoundThatChangesRateAndChannelsMidFileIsSavedWhole)
{
    // A sound file without a header: its length is measured, not guessed from its bit rate.
    const std::string source = TestMedia::stereoThenMonoMp2();
    EXPECT_NEAR(control.GetDuration(source), 2.0, 0.1);
    control.AddAudioClip(source, 0, control.GetDuration(source));
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "joined.wav", 2, 11025, 2));
    ASSERT_TRUE(finished()) << events.reason;
    EXPECT_NEAR(TestMedia::soundSeconds(folder + "joined.wav"), 2.0, 0.1);
    const std::vector<short> saved = TestMedia::monoSamples(folder + "joined.wav", 11025);
    EXPECT_GT(TestMedia::loudness(saved, 11025, 0.1, 0.9), 1000);
    EXPECT_GT(TestMedia::loudness(saved, 11025, 1.6, 1.95), 1000);
    EXPECT_NEAR(TestMedia::pitch(saved, 11025, 0.1, 0.9), 440, 5);
    EXPECT_NEAR(TestMedia::pitch(saved, 11025, 1.1, 1.9), 440, 5);

    PreviewSoundTrack preview;
    ASSERT_TRUE(preview.open({{source, 0, 2, false}}, 2, 44100, 2));
    QByteArray sound;
    while (preview.produce(sound)) {
    }
    ASSERT_EQ(sound.size(), 2 * 44100 * 4);
    const auto* samples = reinterpret_cast<const short*>(sound.constData());
    const std::vector<short> played(samples, samples + sound.size() / 2);  // both channels, interleaved
    EXPECT_GT(TestMedia::loudness(played, 2 * 44100, 0.1, 0.9), 1000);
    EXPECT_GT(TestMedia::loudness(played, 2 * 44100, 1.6, 1.95), 1000);
}

// Beeps start at every whole second; the sound packets from 3 s to 5 s are lost.
TEST_F(SoundTrackTest, SoundAfterAGapStaysAtItsTime)
{
    const std::string source = TestMedia::made(
        "beeps-gap.mkv", {"-f", "lavfi", "-i", "aevalsrc=if(lt(mod(t\\,1)\\,0.05)\\,sin(2*PI*1000*t)\\,0):s=22050:d=10",
                          "-c:a", "mp2", "-b:a", "64k", "-bsf:a", "noise=drop=gte(n\\,57)*lt(n\\,95)"});
    control.AddAudioClip(source, 0, control.GetDuration(source));
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "gap.wav", 2, 11025, 2));
    ASSERT_TRUE(finished()) << events.reason;
    const std::vector<short> saved = TestMedia::monoSamples(folder + "gap.wav", 11025);
    EXPECT_NEAR(saved.size() / 11025.0, 10.0, 0.1);
    for (int second : {0, 1, 2, 5, 6, 7, 8, 9}) {
        EXPECT_GT(TestMedia::loudness(saved, 11025, second + 0.01, second + 0.04), 3000) << second;
        EXPECT_LT(TestMedia::loudness(saved, 11025, second + 0.1, second + 0.9), 100) << second;
    }
    EXPECT_LT(TestMedia::loudness(saved, 11025, 3.0, 5.0), 100);
}

// The header still claims the whole length; the sound stops at 55 % of it.
TEST_F(SoundTrackTest, SoundCutShortFailsRatherThanBeingPaddedWithSilence)
{
    const std::string whole = TestMedia::made("long-sound.mka", {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=22050:duration=40",
                                                                 "-c:a", "mp2", "-b:a", "32k"});
    const std::string bytes = TestMedia::contentOf(whole);
    const std::string cut = TestMedia::fileWith("long-sound-cut.mka", bytes.substr(0, bytes.size() * 55 / 100));
    ASSERT_NEAR(control.GetDuration(cut), 40.0, 0.1);
    control.AddAudioClip(cut, 0, control.GetDuration(cut));
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "cut.wav", 2, 11025, 2));
    ASSERT_TRUE(events.waitForEnd());
    EXPECT_EQ(events.failed, 1);
    EXPECT_EQ(events.done, 0);
    EXPECT_TRUE(TestMedia::filesIn(folder).empty());
}

// The picture goes on for 6 s, the sound stops at 2 s.
TEST_F(SoundTrackTest, SavedSoundHasTheSoundsOwnLength)
{
    const std::string source = TestMedia::made("short-sound.avi", {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10:duration=6",
                                                                   "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=22050:duration=2",
                                                                   "-c:v", "mpeg4", "-c:a", "mp2"});
    ASSERT_NEAR(control.GetDuration(source), 6.0, 0.2);
    control.AddAudioClip(source, 0, control.GetDuration(source));
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "short.wav", 2, 11025, 2));
    ASSERT_TRUE(finished()) << events.reason;
    EXPECT_NEAR(TestMedia::soundSeconds(folder + "short.wav"), 2.0, 0.06);
}

}  // namespace
