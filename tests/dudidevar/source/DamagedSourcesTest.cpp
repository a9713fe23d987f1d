// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "ControlTest.h"
#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/source/Clip.h"

namespace {

// A 4 s MPEG program stream with AC-3 sound (125 sound frames) whose frames `damaged` have a
// broken header byte, so the decoder refuses them with an error of its own.
std::string withDamagedSound(const std::string& name, const std::vector<int>& damaged)
{
    const std::string whole = TestMedia::made("ac3.mpg", {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=4",
                                                          "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=4",
                                                          "-c:v", "mpeg2video", "-c:a", "ac3", "-b:a", "128k", "-f", "mpeg"});
    std::string bytes = TestMedia::contentOf(whole);
    std::vector<std::size_t> frames;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == '\x0b' && bytes[i + 1] == '\x77')
            frames.push_back(i);
    }
    for (int k : damaged)
        bytes[frames.at(std::size_t(k)) + 4] ^= '\xff';
    return TestMedia::fileWith(name, bytes);
}

class DamagedSourcesTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        control.SetOutputFormat(7);  // AVI
        control.SetUseVideoCompressor(true);
        control.SetVideoCompressor(2);
    }

    // How a conversion of the source in parts of the length ends, the parts converted one after
    // another as a split task does (0: whole): the reason of the part that failed, or "" with
    // the parts' pictures and sound.
    struct Outcome {
        std::string reason;
        int parts = 0;
        long pictures = 0;
        double sound = 0.0;
    };
    Outcome inParts(const std::string& source, int seconds)
    {
        Outcome outcome;
        const double length = control.GetDuration(source);
        const double step = seconds > 0 ? seconds : length;
        for (double start = 0; start < length; start += step) {
            control.ClearClips();
            control.AddVideoClip(source, start, std::min(length, start + step), 0);
            control.AddAudioClip(source, start, std::min(length, start + step));
            const std::string out = folder + "part" + std::to_string(outcome.parts) + ".avi";
            events = {};
            const bool started = control.Convert(out);
            if (!started || !finished()) {
                outcome.reason = started ? events.reason : control.GetLastError();
                return outcome;
            }
            ++outcome.parts;
            const TestMedia::Info info = TestMedia::probe(out);
            outcome.pictures += info.video() ? info.video()->frames : 0;
            outcome.sound += TestMedia::soundSeconds(out);
        }
        return outcome;
    }
};

// 8 s of H.264 and AAC in a transport stream whose sound is damaged from 40 % to 60 % of the
// file: the payload of every `every`-th sound packet there is scrambled, its headers left whole.
std::string withDamagedSoundPackets(const std::string& name, int every)
{
    const std::string clean = TestMedia::made(
        "h264-aac.ts", {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=8", "-f", "lavfi", "-i",
                        "sine=frequency=440:sample_rate=48000:duration=8", "-ac", "2", "-c:v", "libx264", "-preset",
                        "veryfast", "-g", "50", "-c:a", "aac", "-f", "mpegts"});
    std::string bytes = TestMedia::contentOf(clean);
    const std::size_t packets = bytes.size() / 188;
    int soundPackets = 0;
    for (std::size_t i = packets * 2 / 5; i < packets * 3 / 5; ++i) {
        char* packet = &bytes[i * 188];
        const int pid = ((packet[1] & 0x1f) << 8) | (packet[2] & 0xff);
        const bool payloadOnly = !(packet[1] & 0x40) && (packet[3] & 0x30) == 0x10;
        if (pid == 0x101 && payloadOnly && ++soundPackets % every == 0) {
            for (int at = 8; at < 188; at += 5)
                packet[at] ^= 0x5a;
        }
    }
    return TestMedia::fileWith(name, bytes);
}

// Parts read the source once, in order, as the whole conversion does: whether the damage is
// passed over or fails the run, and for which reason, does not depend on the part length.
TEST_F(DamagedSourcesTest, ADamagedSourceEndsAlikeWholeAndInPartsOfEveryLength)
{
    control.SetUseAudioCompressor(true);
    control.SetAudioCompressor(0);  // PCM: sound lengths exact
    const std::string lightly = withDamagedSoundPackets("sound-damaged-lightly.ts", 16);
    const Outcome whole = inParts(lightly, 0);
    ASSERT_EQ(whole.reason, "");
    const std::string badly = withDamagedSoundPackets("sound-damaged-badly.ts", 2);
    const std::string wholeReason = inParts(badly, 0).reason;
    ASSERT_NE(wholeReason, "");
    for (int seconds : {1, 2, 3}) {
        SCOPED_TRACE(std::to_string(seconds) + " s parts");
        const Outcome light = inParts(lightly, seconds);
        EXPECT_EQ(light.reason, "");
        EXPECT_EQ(light.pictures, whole.pictures);
        EXPECT_NEAR(light.sound, whole.sound, 0.001 * light.parts);
        const Outcome bad = inParts(badly, seconds);
        EXPECT_EQ(bad.reason, wholeReason);
        EXPECT_EQ(bad.parts, 3 / seconds);  // the parts before the damage that fails the run at 3.x s
    }
}

TEST_F(DamagedSourcesTest, AFewDamagedSoundPacketsArePassedOverAndManyFailTheRun)
{
    addWhole(withDamagedSound("ac3-two-damaged.mpg", {20, 60}));
    EXPECT_NEAR(TestMedia::soundSeconds(convert("few.avi")), 4.0, 0.1);

    std::vector<int> everyFourth;
    for (int k = 2; k < 125; k += 4)
        everyFourth.push_back(k);
    control.ClearClips();
    addWhole(withDamagedSound("ac3-quarter-damaged.mpg", everyFourth));
    ASSERT_TRUE(fails("many.avi"));
    EXPECT_NE(events.reason.find("damaged"), std::string::npos) << events.reason;
    EXPECT_EQ(TestMedia::filesIn(folder), std::vector<std::string>{"few.avi"});
}

// A 4 s transport stream whose picture 70 is stamped 2700 s late: either only its own
// presentation time, or both its times (then the muxer pushed every later picture's times up
// behind it, one tick apart).
std::string withWildTimestamp(const std::string& name, const std::string& option)
{
    const std::string value = option == "pts" ? "PTS" : "TS";
    return TestMedia::made(name, {"-f", "lavfi", "-i", "color=black:s=64x48:r=25:d=4,format=gray,geq=lum='16+N*2'",
                                  "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=4",
                                  "-pix_fmt", "yuv420p", "-c:v", "mpeg2video", "-q:v", "2", "-bf", "0", "-c:a", "mp2",
                                  "-bsf:v", "setts=" + option + "=if(eq(N\\,70)\\," + value + "+2700*90000\\," + value + ")",
                                  "-f", "mpegts"});
}

TEST_F(DamagedSourcesTest, OneWildPictureTimeNeitherStretchesNorFreezesTheFile)
{
    control.SetFrameRate(25);
    for (const auto& [name, option] : {std::pair{"wild-pts.ts", "pts"}, {"wild-times.ts", "ts"}}) {
        const std::string source = withWildTimestamp(name, option);
        EXPECT_NEAR(control.GetDuration(source), 4.0, 0.1) << name;
        control.ClearClips();
        addWhole(source);
        const std::string out = convert(name + std::string(".avi"));
        EXPECT_NEAR(TestMedia::probe(out).duration, 4.0, 0.15) << name;
        for (int frame : {60, 75, 95})
            EXPECT_NEAR((TestMedia::greyLevelOfFrame(out, frame) - 16) / 2.0, frame, 1.0) << name << " frame " << frame;

        // A span as long as the wild time says ends with a reason, not 45 minutes of one picture.
        control.ClearClips();
        control.AddVideoClip(source, 0, 2702, 0);
        EXPECT_TRUE(fails("long.avi")) << name;
    }
}

// Decoders give codes of their own (this one: an AC-3 frame header that cannot be parsed), for
// which the library's text is only the number.
TEST(ErrorTextTest, CodesWithoutALibraryTextStillReadAsWords)
{
    EXPECT_EQ(ff::errorText(AVERROR_INVALIDDATA), "Invalid data found when processing input");
    const std::string text = ff::errorText(-50531338);
    EXPECT_EQ(text.find("Error number"), std::string::npos) << text;
    EXPECT_NE(text.find("cannot be understood"), std::string::npos) << text;
}

}  // namespace

namespace {

// A 4 s AVI cut after its fourth picture, its header left whole: it still promises 100 pictures.
std::string cutAfterFourPictures()
{
    const std::string whole = TestMedia::made(
        "header-promises-4s.avi", {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=4", "-f", "lavfi",
                                   "-i", "sine=frequency=440:sample_rate=44100:duration=4", "-c:v", "mpeg4", "-c:a", "mp2"});
    const std::string bytes = TestMedia::contentOf(whole);
    std::size_t at = bytes.find("movi");
    for (int picture = 0; picture < 5 && at != std::string::npos; ++picture)
        at = bytes.find("00dc", at + 4);
    return TestMedia::fileWith("holds-4-pictures.avi", bytes.substr(0, at));
}

}  // namespace

TEST_F(DamagedSourcesTest, ASourceHoldingLessThanItsHeaderPromisesFailsWholeJoinedAndSplit)
{
    const std::string cut = cutAfterFourPictures();
    const struct { const char* name; std::vector<Clip> clips; } cases[] = {
        {"whole.avi", {{cut, 0.0, control.GetDuration(cut)}}},
        {"joined.avi", {{TestMedia::withSound(), 0.0, 1.0}, {cut, 0.0, control.GetDuration(cut)}}},
        {"part.avi", {{cut, 0.0, 0.4}}},
    };
    for (const auto& c : cases) {
        control.ClearClips();
        for (const Clip& clip : c.clips) {
            control.AddVideoClip(clip.path, clip.start, clip.end, 0);
            control.AddAudioClip(clip.path, clip.start, clip.end);
        }
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(fails(c.name));
        EXPECT_NE(events.reason.find("holds-4-pictures.avi is cut short: its picture stops at 0.2 s of 4.0 s"),
                  std::string::npos)
            << events.reason;
    }
    EXPECT_TRUE(TestMedia::filesIn(folder).empty());
}
