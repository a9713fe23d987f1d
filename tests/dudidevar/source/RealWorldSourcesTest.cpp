// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <tuple>

#include "ControlTest.h"

namespace {

enum Format { VcdPal = 0, DvdPal = 4, Avi = 7 };

class RealWorldSourcesTest : public ControlTest {
protected:
    std::string convertTo(long format, const std::string& source, const std::string& name)
    {
        control.ClearClips();
        control.SetOutputFormat(format);
        addWhole(source);
        return convert(name);
    }

    std::string refusalOf(const std::string& name)
    {
        return control.Convert(folder + name) ? std::string("started") : control.GetLastError();
    }
};

// 3 s of a 30 fps picture that starts 20 ms after its sound, as MKV files usually do: the picture
// flashes for three frames at each whole second of its own, the sound beeps at each of its own.
std::string lateStartingPicture()
{
    const std::string parts = TestMedia::made(
        "flash-tone-parts.mkv",
        {"-f", "lavfi", "-i", "color=black:s=160x120:r=30:d=3,drawbox=c=white:t=fill:enable='lt(mod(n\\,30)\\,3)'",
         "-f", "lavfi", "-i", "aevalsrc='if(lt(mod(t\\,1)\\,0.1)\\,sin(2*PI*1000*t)\\,0)':s=48000:d=3", "-c:v",
         "mpeg4", "-q:v", "3", "-c:a", "flac"});
    return TestMedia::made("flash-tone.mkv", {"-itsoffset", "0.02", "-i", parts, "-i", parts, "-map", "0:v", "-map",
                                              "1:a", "-c", "copy"});
}

// How far the flash at a whole second follows the beep at that second.
double flashAfterTone(const std::string& path, int second)
{
    double flash = NAN;
    double tone = NAN;
    for (double t : TestMedia::flashOnsets(path))
        if (std::fabs(t - second) < 0.3)
            flash = t;
    for (double t : TestMedia::toneOnsets(path))
        if (std::fabs(t - second) < 0.3)
            tone = t;
    return flash - tone;
}

}  // namespace

TEST_F(RealWorldSourcesTest, PictureAndSoundKeepTheirDistanceWhenThePictureStartsLate)
{
    const std::string source = lateStartingPicture();
    const double inSource = flashAfterTone(source, 1);
    ASSERT_NEAR(inSource, 0.02, 0.002);
    struct Case {
        long format;
        const char* name;
        double framePeriod;
    };
    for (const Case& c : {Case{Avi, "sync.avi", 1.0 / 30}, Case{DvdPal, "sync.mpg", 1.0 / 25}}) {
        const std::string out = convertTo(c.format, source, c.name);
        // A picture can only move to the output's nearest frame; 2 ms for the measurement.
        for (int second : {1, 2})
            EXPECT_NEAR(flashAfterTone(out, second), inSource, c.framePeriod / 2 + 0.002) << c.name << " at " << second;
    }
}

TEST_F(RealWorldSourcesTest, OnlyPictureAndSoundDecideTheLengthAndACoverIsNoPicture)
{
    const std::string cue = TestMedia::fileWith("long-cue.srt", "1\n00:00:00,000 --> 00:00:03,500\nstill talking\n\n");
    // MP4 gives each stream's length; Matroska only the file's, which the text track sets.
    for (const auto& [source, textCodec, output] : {std::tuple{"text-track.mp4", "mov_text", "text.avi"},
                                                     std::tuple{"text-track.mkv", "srt", "text-mkv.avi"}}) {
        const std::string withText = TestMedia::made(
            source, {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=2", "-f", "lavfi", "-i",
                     "sine=frequency=440:sample_rate=44100:duration=2", "-i", cue, "-map", "0", "-map", "1", "-map", "2",
                     "-c:v", "mpeg4", "-c:a", "aac", "-c:s", textCodec});
        EXPECT_NEAR(control.GetDuration(withText), 2.0, 0.1) << source;
        convertTo(Avi, withText, output);
    }

    const std::string cover = TestMedia::made(
        "cover.mp3", {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=2", "-f", "lavfi", "-i",
                      "color=red:s=64x64:d=1", "-map", "0", "-map", "1", "-frames:v", "1", "-c:a", "libmp3lame", "-c:v",
                      "png", "-disposition:v", "attached_pic", "-id3v2_version", "3"});
    EXPECT_EQ(control.GetVideoWidth(cover), 0);
    control.ClearClips();
    control.SetOutputFormat(Avi);
    addWhole(cover);
    EXPECT_EQ(refusalOf("cover.avi"), cover + " has no picture");
    EXPECT_FALSE(control.SaveFrame(cover, 0.5, folder + "cover.bmp"));
    EXPECT_EQ(control.GetLastError(), cover + " has no picture");
    EXPECT_FALSE(control.Preview());
    EXPECT_EQ(control.GetLastError(), cover + " has no picture");

    const std::string silent = TestMedia::silentOddSize();
    control.ClearClips();
    control.AddAudioClip(silent, 0, 2);
    EXPECT_FALSE(control.SaveAudioAsWav(folder + "silent.wav", 2, 44100, 2));
    EXPECT_EQ(control.GetLastError(), silent + " has no sound");
    EXPECT_TRUE(TestMedia::filesIn(folder) == (std::vector<std::string>{"text-mkv.avi", "text.avi"}));
}

TEST_F(RealWorldSourcesTest, DvdKeepsSurroundSoundAndOtherDiscsStereo)
{
    const std::string surround = TestMedia::made(
        "surround.mkv", {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=1", "-f", "lavfi", "-i",
                         "sine=frequency=440:sample_rate=48000:duration=1", "-ac", "6", "-c:v", "mpeg4", "-c:a", "flac"});
    struct Case {
        long format;
        std::string source;
        int channels;
    };
    for (const Case& c : {Case{DvdPal, surround, 6}, Case{VcdPal, surround, 2}, Case{DvdPal, TestMedia::withSound(), 2}}) {
        const TestMedia::Info info = TestMedia::probe(convertTo(c.format, c.source, "sound.mpg"));
        ASSERT_TRUE(info.audio());
        EXPECT_EQ(info.audio()->channels, c.channels) << c.format << " " << c.source;
    }
}

// Timestamps of a transport stream run past 2^33 ticks and start again at 0 in its second second.
TEST_F(RealWorldSourcesTest, PartsOfAStreamWhoseTimestampsWrapFindTheirPictures)
{
    const std::string wrapping = TestMedia::made(
        "wrap.ts", {"-f", "lavfi", "-i", "color=c=black:size=160x120:rate=25:duration=4", "-f", "lavfi", "-i",
                    "sine=frequency=440:sample_rate=48000:duration=4", "-vf", "geq=lum='N*2+16':cb=128:cr=128", "-c:v",
                    "libx264", "-g", "25", "-c:a", "aac", "-output_ts_offset", "95440.3", "-f", "mpegts"});
    const std::string whole = convertTo(Avi, wrapping, "whole.avi");
    for (int part = 1; part < 4; ++part) {
        control.ClearClips();
        control.AddVideoClip(wrapping, part, part + 1, 0);
        control.AddAudioClip(wrapping, part, part + 1);
        const std::string out = convert("part" + std::to_string(part) + ".avi");
        EXPECT_NEAR(TestMedia::greyLevelOfFrame(out, 0), TestMedia::greyLevelOfFrame(whole, 25 * part), 2) << part;
    }
}

// The first 59 KB of a transport stream: part of one picture and no sound.
TEST_F(RealWorldSourcesTest, OutputWithoutAPictureIsNeverDoneAndReasonsNameTheTarget)
{
    const std::string full = TestMedia::made(
        "big-picture.ts", {"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25:duration=1", "-f", "lavfi", "-i",
                           "sine=frequency=440:sample_rate=48000:duration=1", "-c:v", "mpeg2video", "-q:v", "2", "-c:a",
                           "ac3", "-f", "mpegts"});
    const std::string cut = TestMedia::fileWith("cut-picture.ts", TestMedia::contentOf(full).substr(0, 59000));
    for (long format : {long(Avi), 8L}) {
        control.ClearClips();
        control.SetOutputFormat(format);
        addWhole(cut);
        events = {};
        if (control.Convert(folder + "cut.out")) {
            EXPECT_FALSE(finished());
        }
        const std::string reason = control.GetLastError();
        EXPECT_NE(reason, "");
        EXPECT_EQ(reason.find(".part"), std::string::npos) << reason;
        EXPECT_TRUE(TestMedia::filesIn(folder).empty());
    }
}

// 6 s of VP9 and Opus in WebM, flashing and beeping at each whole second. Each part goes on
// with the sound read past the end of the part before it, so its beeps keep the distance to the
// flashes they have in the whole conversion (PCM sound, so no coder's framing moves them).
TEST_F(RealWorldSourcesTest, PartsOfAWebmKeepTheSyncOfTheWholeConversion)
{
    const std::string source = TestMedia::made(
        "flash-tone.webm",
        {"-f", "lavfi", "-i", "color=black:s=160x120:r=30:d=6,drawbox=c=white:t=fill:enable='lt(mod(n\\,30)\\,3)'",
         "-f", "lavfi", "-i", "aevalsrc='if(lt(mod(t\\,1)\\,0.1)\\,sin(2*PI*1000*t)\\,0)':s=48000:d=6", "-c:v",
         "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8", "-c:a", "libopus"});
    control.SetUseAudioCompressor(true);
    control.SetAudioCompressor(0);
    const std::string whole = convertTo(Avi, source, "whole.avi");
    for (int start : {0, 2, 4}) {
        control.ClearClips();
        control.AddVideoClip(source, start, start + 2.0, 0);
        control.AddAudioClip(source, start, start + 2.0);
        const std::string part = convert("part" + std::to_string(start) + ".avi");
        EXPECT_NEAR(flashAfterTone(part, 1), flashAfterTone(whole, start + 1), 0.0005) << "part at " << start;
    }
}
