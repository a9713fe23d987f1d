// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlTest.h"

namespace {

// A film with an English sound track at 440 Hz and a Japanese one at 1000 Hz that the file
// marks as its default, as a second language often is in a Matroska file.
std::string twoLanguages()
{
    return TestMedia::made("two-languages.mkv",
                           {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=2", "-f", "lavfi", "-i",
                            "sine=frequency=440:duration=2", "-f", "lavfi", "-i", "sine=frequency=1000:duration=2",
                            "-map", "0", "-map", "1", "-map", "2", "-c:v", "mpeg4", "-c:a", "mp2",
                            "-metadata:s:a:0", "language=eng", "-metadata:s:a:1", "language=jpn", "-disposition:a:0",
                            "0", "-disposition:a:1", "default"});
}

// English only, at 660 Hz.
std::string englishOnly()
{
    return TestMedia::made("english-only.mkv",
                           {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=2", "-f", "lavfi", "-i",
                            "sine=frequency=660:duration=2", "-c:v", "mpeg4", "-c:a", "mp2", "-metadata:s:a:0",
                            "language=eng"});
}

class SoundTrackChoiceTest : public ControlTest {
protected:
    // The pitch of the sound saved from the whole file with that choice.
    double savedPitch(const std::string& source, const std::string& track)
    {
        control.ClearClips();
        control.AddAudioClip(source, 0, 2);
        control.SetSoundTrack(track);
        events = {};
        const std::string out = folder + "sound.wav";
        EXPECT_TRUE(control.SaveAudioAsWav(out, 1, 11025, 2)) << control.GetLastError();
        EXPECT_TRUE(finished()) << events.reason;
        return TestMedia::pitch(TestMedia::monoSamples(out, 11025), 11025, 0.2, 1.8);
    }
};

TEST_F(SoundTrackChoiceTest, DefaultIsTheTrackMarkedDefaultAndAChoiceByLanguageOrNumberIsHeard)
{
    const std::string source = twoLanguages();
    EXPECT_NEAR(savedPitch(source, ""), 1000, 10);
    EXPECT_NEAR(savedPitch(source, "eng"), 440, 10);
    EXPECT_NEAR(savedPitch(source, "en"), 440, 10);
    EXPECT_NEAR(savedPitch(source, "1"), 440, 10);
    EXPECT_NEAR(savedPitch(source, "JA"), 1000, 10);
}

TEST_F(SoundTrackChoiceTest, JoinedSourceWithoutTheLanguageGivesItsDefaultTrackAndSaysSo)
{
    control.SetOutputFormat(7);  // AVI
    control.SetSoundTrack("jpn");
    addWhole(twoLanguages());
    addWhole(englishOnly());
    testing::internal::CaptureStderr();
    const std::string out = convert("joined.avi");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("english-only.mkv has no sound language jpn; its default sound track is used"),
              std::string::npos)
        << said;
    const std::vector<short> sound = TestMedia::monoSamples(out, 11025);
    EXPECT_NEAR(TestMedia::pitch(sound, 11025, 0.2, 1.8), 1000, 10);
    EXPECT_NEAR(TestMedia::pitch(sound, 11025, 2.2, 3.8), 660, 10);
}

TEST_F(SoundTrackChoiceTest, TrackNoSourceHasIsRefusedBeforeTheRunNamingTheTracksThereAre)
{
    control.SetOutputFormat(7);
    addWhole(englishOnly());
    for (const char* track : {"fre", "2"}) {
        control.SetSoundTrack(track);
        EXPECT_FALSE(control.Convert(folder + "out.avi")) << track;
        EXPECT_NE(control.GetLastError().find("has no sound " + std::string(track[0] == '2' ? "track 2" : "language fre") +
                                              "; its sound tracks: 1 eng"),
                  std::string::npos)
            << control.GetLastError();
    }
    control.SetSoundTrack("not a language");
    EXPECT_FALSE(control.Convert(folder + "out.avi"));
    EXPECT_NE(control.GetLastError().find("neither a track number nor a language"), std::string::npos);
    EXPECT_TRUE(TestMedia::filesIn(folder).empty());
}

}  // namespace
