// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cmath>

#include "ControlTest.h"

namespace {

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
        const bool startsUnit = packet[1] & 0x40;
        const bool payloadOnly = (packet[3] & 0x30) == 0x10;
        if (pid != 0x101 || startsUnit || !payloadOnly || ++soundPackets % every != 0)
            continue;
        for (int at = 8; at < 188; at += 5)
            packet[at] ^= 0x5a;
    }
    return TestMedia::fileWith(name, bytes);
}

class SplitReadingTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        control.SetOutputFormat(7);  // AVI
        control.SetUseVideoCompressor(true);
        control.SetVideoCompressor(2);
        control.SetUseAudioCompressor(true);
        control.SetAudioCompressor(0);  // PCM: the samples as they are made, without a coder's framing
        control.SetFrameRate(25);
    }

    struct Outcome {
        std::string reason;  // empty: every part was done
        int parts = 0;       // parts written
        long pictures = 0;
        double sound = 0.0;
    };

    // Converts the source in parts of the length, one after another as a split task does, until
    // a part fails.
    Outcome inParts(const std::string& source, int seconds)
    {
        Outcome outcome;
        const double length = control.GetDuration(source);
        for (int start = 0; start < length; start += seconds) {
            const double end = std::min(length, double(start + seconds));
            control.ClearClips();
            control.AddVideoClip(source, start, end, 0);
            control.AddAudioClip(source, start, end);
            const std::string out = folder + "part" + std::to_string(start) + ".avi";
            events = {};
            EXPECT_TRUE(control.Convert(out)) << control.GetLastError();
            if (!events.waitForEnd() || events.failed) {
                outcome.reason = events.reason;
                return outcome;
            }
            ++outcome.parts;
            outcome.pictures += TestMedia::probe(out).video()->frames;
            outcome.sound += TestMedia::soundSeconds(out);
        }
        return outcome;
    }

    Outcome whole(const std::string& source)
    {
        control.ClearClips();
        addWhole(source);
        const std::string out = folder + "whole.avi";
        events = {};
        EXPECT_TRUE(control.Convert(out)) << control.GetLastError();
        if (!events.waitForEnd() || events.failed)
            return {events.reason};
        return {"", 1, TestMedia::probe(out).video()->frames, TestMedia::soundSeconds(out)};
    }
};

// Parts read the source once, in order, as the whole conversion does: whether the damage is
// passed over or fails the run, and for which reason, does not depend on the part length.
TEST_F(SplitReadingTest, ADamagedSourceEndsAlikeWholeAndInPartsOfEveryLength)
{
    const std::string lightly = withDamagedSoundPackets("sound-damaged-lightly.ts", 16);
    const Outcome wholeLight = whole(lightly);
    ASSERT_EQ(wholeLight.reason, "");
    for (int seconds : {1, 2, 3}) {
        const Outcome parts = inParts(lightly, seconds);
        EXPECT_EQ(parts.reason, "") << seconds << " s parts";
        EXPECT_EQ(parts.pictures, wholeLight.pictures) << seconds << " s parts";
        EXPECT_NEAR(parts.sound, wholeLight.sound, 0.03 * parts.parts) << seconds << " s parts";
    }

    const std::string badly = withDamagedSoundPackets("sound-damaged-badly.ts", 2);
    const Outcome wholeBad = whole(badly);
    ASSERT_NE(wholeBad.reason, "");
    for (int seconds : {1, 2, 3}) {
        const Outcome parts = inParts(badly, seconds);
        EXPECT_EQ(parts.reason, wholeBad.reason) << seconds << " s parts";
        // The parts before the damage that fails the run at 3.x s are written.
        EXPECT_EQ(parts.parts, 3 / seconds) << seconds << " s parts";
    }
}

// 6 s of VP9 and Opus in WebM: the picture flashes at each whole second, the sound beeps then.
std::string flashingWebm()
{
    return TestMedia::made(
        "flash-tone.webm",
        {"-f", "lavfi", "-i", "color=black:s=320x240:r=30:d=6,drawbox=c=white:t=fill:enable='lt(mod(n\\,30)\\,3)'",
         "-f", "lavfi", "-i", "aevalsrc='if(lt(mod(t\\,1)\\,0.1)\\,sin(2*PI*1000*t)\\,0)':s=48000:d=6", "-c:v",
         "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8", "-c:a", "libopus"});
}

// How far the flash near a time follows the beep near it.
double flashAfterTone(const std::string& path, double second)
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

// Each part goes on with the sound read past the end of the part before it, so its beeps keep
// the distance to the flashes they have in the whole conversion.
TEST_F(SplitReadingTest, PartsOfAWebmKeepTheSyncOfTheWholeConversion)
{
    const std::string source = flashingWebm();
    control.SetFrameRate(30);
    control.ClearClips();
    addWhole(source);
    const std::string whole = convert("whole.avi");
    for (int start : {0, 2, 4}) {
        control.ClearClips();
        control.AddVideoClip(source, start, start + 2.0, 0);
        control.AddAudioClip(source, start, start + 2.0);
        const std::string part = convert("part" + std::to_string(start) + ".avi");
        EXPECT_NEAR(TestMedia::soundSeconds(part), 2.0, 0.03) << "part at " << start;
        EXPECT_NEAR(flashAfterTone(part, 1), flashAfterTone(whole, start + 1), 0.0005) << "part at " << start;
    }
}

}  // namespace
