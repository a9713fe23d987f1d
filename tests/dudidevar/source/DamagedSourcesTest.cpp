// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

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
};

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
